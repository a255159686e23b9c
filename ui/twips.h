#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace veltra::ui {

// Window layouts are measured in twips; at 96 dpi a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

// Whole device-independent pixels, cut toward zero (the layout drawings use
// the same grid).
constexpr int px(int twips)
{
    return twips / kTwipsPerPixel;
}

// A control's place in the client area: left, top, width, height in twips.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

constexpr QRect toPixels(const Twips &r)
{
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

void place(QWidget *control, const Twips &r);

// Fixed client area; the windows of this program are not resizable.
void setClientSize(QWidget *window, int widthTwips, int heightTwips);

// Name, caption, fixed client size and the default control font of a
// top-level window; Return and Enter press its focused button and the
// focused control is marked (keyboard.h).
void setUpWindow(QWidget *window, const QString &name, const QString &title, int widthTwips, int heightTwips);

} // namespace veltra::ui
