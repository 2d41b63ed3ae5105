// Orbiter host interface: the 2-D drawing interface (namespace oapi).
//
// A Sketchpad draws on a host surface with the pen, brush and font selected
// into it. The drawing methods have do-nothing defaults here, as in the
// simulator's SDK; the host's graphics client provides the real ones.

#ifndef KORVANE_HOST_DRAWAPI_H
#define KORVANE_HOST_DRAWAPI_H

#include "OrbiterAPI.h"

namespace oapi {

// Integer 2-D vector with 32-bit members, as on Windows.
typedef union {
    LONG data[2];
    struct {
        LONG x, y;
    };
} IVECTOR2;

class DrawingTool {
public:
    DrawingTool() {}
    virtual ~DrawingTool() {}
};

class Pen : public DrawingTool {
protected:
    // style: 0 invisible, 1 solid, 2 dashed; width in pixels; col 0x00BBGGRR.
    Pen(int style, int width, DWORD col)
    {
        (void)style;
        (void)width;
        (void)col;
    }
};

class Brush : public DrawingTool {
protected:
    Brush(DWORD col) { (void)col; }
};

class Font : public DrawingTool {
protected:
    Font(int height, bool prop, const char *face, FontStyle style = FONT_NORMAL, int orientation = 0)
    {
        (void)height;
        (void)prop;
        (void)face;
        (void)style;
        (void)orientation;
    }
};

class Sketchpad {
public:
    enum TAlign_horizontal { LEFT, CENTER, RIGHT };
    enum TAlign_vertical { TOP, BASELINE, BOTTOM };

    Sketchpad(SURFHANDLE s);
    virtual ~Sketchpad();

    // Each Set... returns the tool selected before. A null pen or brush turns
    // outlines or fills off.
    virtual Font *SetFont(Font *font) const
    {
        (void)font;
        return NULL;
    }
    virtual Pen *SetPen(Pen *pen) const
    {
        (void)pen;
        return NULL;
    }
    virtual Brush *SetBrush(Brush *brush) const
    {
        (void)brush;
        return NULL;
    }
    virtual void SetTextAlign(TAlign_horizontal tah = LEFT, TAlign_vertical tav = TOP)
    {
        (void)tah;
        (void)tav;
    }
    virtual DWORD SetTextColor(DWORD col)
    {
        (void)col;
        return 0;
    }
    virtual DWORD SetBackgroundColor(DWORD col)
    {
        (void)col;
        return 0;
    }
    // Low 16 bits: character cell height; high 16 bits: average width.
    virtual DWORD GetCharSize() { return 0; }
    virtual DWORD GetTextWidth(const char *str, int len = 0)
    {
        (void)str;
        (void)len;
        return 0;
    }
    virtual void SetOrigin(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void GetOrigin(int *x, int *y) const
    {
        (void)x;
        (void)y;
    }
    virtual bool Text(int x, int y, const char *str, int len)
    {
        (void)x;
        (void)y;
        (void)str;
        (void)len;
        return false;
    }
    virtual void Pixel(int x, int y, DWORD col)
    {
        (void)x;
        (void)y;
        (void)col;
    }
    virtual void MoveTo(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void LineTo(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void Line(int x0, int y0, int x1, int y1)
    {
        (void)x0;
        (void)y0;
        (void)x1;
        (void)y1;
    }
    virtual void Rectangle(int x0, int y0, int x1, int y1)
    {
        (void)x0;
        (void)y0;
        (void)x1;
        (void)y1;
    }
    virtual void Ellipse(int x0, int y0, int x1, int y1)
    {
        (void)x0;
        (void)y0;
        (void)x1;
        (void)y1;
    }
    virtual void Polygon(const IVECTOR2 *pt, int npt)
    {
        (void)pt;
        (void)npt;
    }
    virtual void Polyline(const IVECTOR2 *pt, int npt)
    {
        (void)pt;
        (void)npt;
    }

    SURFHANDLE GetSurface() const { return surf; }

private:
    SURFHANDLE surf;
};

} // namespace oapi

#endif // KORVANE_HOST_DRAWAPI_H
