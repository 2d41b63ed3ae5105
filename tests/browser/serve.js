// Starts korvane-serve on a free port for a test file and stops it after.
const { spawn } = require('child_process');
const path = require('path');

const repo = path.resolve(__dirname, '..', '..');

// Resolves with { url, stop() } once the server prints its address.
function startServer(extraArgs = []) {
  const binary = process.env.KORVANE_SERVE || path.join(repo, 'build', 'korvane-serve');
  const args = ['--port', '0', ...extraArgs];
  return new Promise((resolve, reject) => {
    const child = spawn(binary, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    const timer = setTimeout(() => {
      child.kill('SIGTERM');
      reject(new Error('korvane-serve printed no address:\n' + output));
    }, 30000);
    const onData = (chunk) => {
      output += chunk.toString();
      const m = output.match(/ at (http:\/\/\S+\/)/);
      if (m) {
        clearTimeout(timer);
        resolve({
          url: m[1],
          output: () => output,
          stop: () => new Promise((done) => {
            if (child.exitCode !== null)
              return done(child.exitCode);
            child.once('exit', (code) => done(code));
            child.kill('SIGTERM');
          }),
        });
      }
    };
    child.stdout.on('data', onData);
    child.stderr.on('data', (chunk) => { output += chunk.toString(); });
    child.once('exit', (code) => {
      clearTimeout(timer);
      reject(new Error('korvane-serve exited with ' + code + ':\n' + output));
    });
  });
}

module.exports = { startServer };
