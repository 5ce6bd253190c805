#pragma once

#include <QRect>
#include <QSize>
#include <QtMath>

class QWidget;

namespace lexi {

// 15 twips make one device-independent pixel (96 dpi); Qt scales the rest.
inline constexpr int kTwipsPerPixel = 15;

inline int twips(int t) { return qRound(t / double(kTwipsPerPixel)); }
inline int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
inline QSize twipsSize(int width, int height) { return QSize(twips(width), twips(height)); }

// Window sizes in the design are outer sizes, border and title bar included.
// Until the window manager has framed a window, these stand for the frame.
inline constexpr int kDefaultFrameWidthTwips = 165;
inline constexpr int kDefaultFrameHeightTwips = 390;

// Outer minus inner size of a top-level window, in pixels.
QSize frameExtra(const QWidget* window);

}  // namespace lexi
