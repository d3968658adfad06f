#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QWidget;

// A font of the given character height in pixels. "Arial", "System" and
// "MS Sans Serif" resolve to installed faces that carry the Czech letters.
QFont PixelFont(const char* family, int pixelHeight, bool bold = false, bool underline = false);

// The font every window starts from ("System", 13 pixels): one face for the
// main window, the information windows, the list and the message boxes, so
// that the start loads one font instead of the desktop's and ours.
void SetProgramFont();

// Sets a control's font and its text colour.
void SetLook(QWidget* control, const QFont& font, const QColor& text);
// The same for a control out of view, done when it first comes into view:
// its font is then loaded only if it is ever shown.
void SetLookWhenShown(QWidget* control, const QFont& font, const QColor& text);

// Runs the step now if the widget is in view, else when it first comes into
// view (once).
void WhenFirstShown(QWidget* widget, std::function<void()> step);

// Sizes a label to its text: at once when it is in view, else as soon as it
// comes into view (and again at every later showing).
void SizeToText(QLabel* label);

// Sets a label's text and sizes the label to it.
void SetLabelText(QLabel* label, const QString& text);

// Fixed-size top-level frames with the close box only.
void MakeFixedDialog(QWidget* window, int clientWidth, int clientHeight);

// A text compiled into the program's resources, in UTF-8.
QString ResourceText(const QString& path);

// Fills the text box with a resource text the first time it comes into view,
// so that a window never opened costs nothing.
void ShowResourceTextWhenShown(QPlainTextEdit* box, const QString& path);

// Enter pressed in a text box stays there: it does not click the window's
// default button.
void KeepEnterInTextBox(QWidget* textBox);

// A movable, resizable window with the close box only.
void MakeToolWindow(QWidget* window, int clientWidth, int clientHeight);

// Centres a window on its screen's work area the first time it is shown
// (shown is its flag); later showings keep the place it was left at.
void CentreOnFirstShowing(QWidget* window, bool& shown);

// Where a window of the given outer size lands at pos: pos itself when the
// window lies whole within the union of the areas, else the nearest position
// that shows it whole on the area nearest to pos; a window larger than the
// area keeps its top left corner in view.
QPoint PlaceOnScreens(QPoint pos, QSize size, const QList<QRect>& areas);

// A window's outer size, its frame counted (guessed before the window system
// has framed it); the second form for the window at another size.
QSize OuterSize(const QWidget* window);
QSize OuterSize(const QWidget* window, QSize size);

// A window about to open partly outside the work area of the screen the
// main window is on moves to the nearest place there that shows it whole.
void KeepInView(QWidget* window, const QWidget* mainWindow);
