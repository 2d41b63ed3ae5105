// Problems the stand-in meets in the files it reads (a missing or damaged
// configuration file, a limit reached, a base that does not exist), one line
// of text each. They go to standard error, where the simulator's log would
// have them, unless a MessageCapture is alive: then they are collected there
// (tests read them; fuzz targets keep their output quiet).

#ifndef KORVANE_HEADLESS_MESSAGES_H
#define KORVANE_HEADLESS_MESSAGES_H

#include <string>
#include <vector>

namespace headless {

void Report(const std::string &text);

class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    const std::vector<std::string> &lines() const { return lines_; }
    // True if some line contains text.
    bool contains(const std::string &text) const;

private:
    friend void Report(const std::string &text);

    std::vector<std::string> lines_;
    MessageCapture *previous_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_MESSAGES_H
