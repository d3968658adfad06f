#include "windows/LineBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QWheelEvent>

namespace {
const QString LineBreak = QStringLiteral("\r\n");
// Blank pixels between the frame and the text, as in Qt's text boxes.
const int TextMargin = 4;
// Laid-out pieces kept at most; a view needs a few dozen.
const int KeptLayouts = 2048;
// A line is laid out in pieces of at most this many characters, so that even
// a line of millions of characters costs only the pieces in view.
const qsizetype PieceLength = 4096;
} // namespace

namespace {

// What a screen reader learns of the box: a read-only multi-line text whose
// value is the whole list, read line by line through its text interface
// (lines end in LF there). The caret is where reading stands: at the top
// line in view after the keys moved the view, or where the reader put it.
class TLineBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TLineBoxAccessible(TLineBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    TLineBox* Box() const { return static_cast<TLineBox*>(widget()); }
    QString ReadText() const {
        QString text = Box()->Text();
        return text.replace(LineBreak, QStringLiteral("\n"));
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.focusable = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return ReadText();
        return QAccessibleWidget::text(t);
    }

    // The text interface: no selection, no places on screen.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return qBound(0, Caret, characterCount()); }
    void setCursorPosition(int position) override {
        Caret = qBound(0, position, characterCount());
        QAccessibleTextCursorEvent event(widget(), Caret);
        QAccessible::updateAccessibility(&event);
    }
    QString text(int start, int end) const override {
        const QString all = ReadText();
        start = qBound(0, start, int(all.size()));
        end = qBound(start, end < 0 ? int(all.size()) : end, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override {
        return int(Box()->Text().size() - Box()->LineCount() + 1);
    }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        Q_UNUSED(offset);
        return QString();
    }

private:
    int Caret = 0;
};

QAccessibleInterface* LineBoxAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TLineBox") && object && object->isWidgetType())
        return new TLineBoxAccessible(static_cast<TLineBox*>(object));
    return nullptr;
}

} // namespace

TLineBox::TLineBox(QWidget* parent) : QWidget(parent) {
    static const bool factory = (QAccessible::installFactory(&LineBoxAccessible), true);
    Q_UNUSED(factory);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    Starts.push_back(0);
    AddPieces(0);
}

TLineBox::~TLineBox() = default;

void TLineBox::SetText(const QString& text) {
    Store.clear();
    Store.reserve(text.size() + 16);
    Starts.clear();
    Starts.push_back(0);
    const QChar* c = text.constData();
    const QChar* const end = c + text.size();
    const QChar* run = c; // start of the stretch without breaks
    while (c != end) {
        const char16_t u = c->unicode();
        if (u != u'\r' && u != u'\n') {
            ++c;
            continue;
        }
        Store.append(run, c - run);
        Store += LineBreak;
        Starts.push_back(Store.size());
        // CR LF is one break; a lone CR or LF is one too.
        c += (u == u'\r' && c + 1 != end && c[1].unicode() == u'\n') ? 2 : 1;
        run = c;
    }
    Store.append(run, end - run);
    PieceStart.clear();
    PieceLine.clear();
    for (int line = 0; line < LineCount(); ++line)
        AddPieces(line);
    Top = 0;
    TopRowInLine = 0;
    Forget();
}

qsizetype TLineBox::LineEnd(int line) const {
    return size_t(line) + 1 < Starts.size() ? Starts[size_t(line) + 1] - 2 : Store.size();
}

void TLineBox::AddPieces(int line) {
    const qsizetype end = LineEnd(line);
    qsizetype start = Starts[size_t(line)];
    do {
        PieceStart.push_back(start);
        PieceLine.push_back(line);
        qsizetype next = start + PieceLength;
        // A pair of UTF-16 halves stays in one piece.
        if (next < end && Store.at(next).isLowSurrogate())
            ++next;
        start = next;
    } while (start < end);
}

int TLineBox::PieceCount() const {
    return int(PieceStart.size());
}

QString TLineBox::PieceText(int piece) const {
    const qsizetype start = PieceStart[size_t(piece)];
    const qsizetype end =
        piece + 1 < PieceCount() && PieceLine[size_t(piece) + 1] == PieceLine[size_t(piece)]
            ? PieceStart[size_t(piece) + 1]
            : LineEnd(PieceLine[size_t(piece)]);
    return Store.mid(start, end - start);
}

void TLineBox::AppendLine(const QString& line) {
    const bool open = Store.isEmpty() || Store.endsWith(LineBreak);
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) {
        // Breaks inside the line make several lines; the view stays.
        const int top = Top, row = TopRowInLine;
        SetText(open ? Store + line + LineBreak : Store + LineBreak + line);
        Top = qMin(top, PieceCount() - 1);
        TopRowInLine = row;
        update();
        return;
    }
    const int last = LineCount() - 1;
    if (open) {
        // The empty last line takes the text, and a new empty line follows.
        while (!PieceLine.empty() && PieceLine.back() == last) {
            Layouts.remove(PieceCount() - 1);
            PieceLine.pop_back();
            PieceStart.pop_back();
        }
        Store += line;
        Store += LineBreak;
        Starts.push_back(Store.size());
        AddPieces(last);
        AddPieces(last + 1);
    } else {
        Store += LineBreak;
        Starts.push_back(Store.size());
        Store += line;
        AddPieces(last + 1);
    }
    if (Top >= PieceCount()) {
        Top = PieceCount() - 1;
        TopRowInLine = 0;
    }
    update();
}

QString TLineBox::Line(int index) const {
    const qsizetype start = Starts[size_t(index)];
    return Store.mid(start, LineEnd(index) - start);
}

int TLineBox::TopLine() const {
    return PieceLine[size_t(Top)];
}

QRect TLineBox::TextArea() const {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return rect().adjusted(frame + TextMargin, frame + TextMargin, -frame - TextMargin,
                           -frame - TextMargin);
}

int TLineBox::RowHeight() const {
    return qMax(1, fontMetrics().height());
}

int TLineBox::RowsInView() const {
    return qMax(1, TextArea().height() / RowHeight());
}

QTextLayout& TLineBox::LayoutOf(int piece) const {
    auto found = Layouts.constFind(piece);
    if (found != Layouts.constEnd())
        return **found;
    if (Layouts.size() >= KeptLayouts)
        Layouts.clear();
    auto layout = std::make_shared<QTextLayout>(PieceText(piece), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    const qreal width = qMax(1, TextArea().width());
    qreal y = 0;
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(width);
        row.setPosition(QPointF(0, y));
        y += row.height();
    }
    layout->endLayout();
    Layouts.insert(piece, layout);
    return *layout;
}

int TLineBox::RowsOf(int piece) const {
    return qMax(1, LayoutOf(piece).lineCount());
}

void TLineBox::Forget() {
    Layouts.clear();
    update();
}

void TLineBox::ScrollRows(int rows) {
    // The furthest place the view may start: the last row at the bottom.
    int endPiece = PieceCount() - 1;
    int endRow = 0;
    for (int need = RowsInView(); endPiece >= 0; --endPiece) {
        const int here = RowsOf(endPiece);
        if (here >= need) {
            endRow = here - need;
            break;
        }
        need -= here;
    }
    if (endPiece < 0) {
        endPiece = 0;
        endRow = 0;
    }
    auto beyondEnd = [&] { return Top > endPiece || (Top == endPiece && TopRowInLine > endRow); };
    for (; rows > 0 && !beyondEnd(); --rows) {
        if (TopRowInLine + 1 < RowsOf(Top))
            ++TopRowInLine;
        else if (Top + 1 < PieceCount()) {
            ++Top;
            TopRowInLine = 0;
        } else
            break;
    }
    if (beyondEnd()) {
        Top = endPiece;
        TopRowInLine = endRow;
    }
    for (; rows < 0 && (Top > 0 || TopRowInLine > 0); ++rows) {
        if (TopRowInLine > 0)
            --TopRowInLine;
        else {
            --Top;
            TopRowInLine = RowsOf(Top) - 1;
        }
    }
    update();
}

void TLineBox::ScrollToStart() {
    Top = 0;
    TopRowInLine = 0;
    update();
}

void TLineBox::ScrollToEnd() {
    // Start from a view near the end, so that only the last lines are laid out.
    Top = qMax(0, PieceCount() - 1 - RowsInView());
    TopRowInLine = 0;
    ScrollRows(INT_MAX);
}

QSize TLineBox::sizeHint() const {
    return QSize(241, 353);
}

void TLineBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame panel;
    panel.initFrom(this);
    panel.rect = rect();
    panel.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, this);
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    painter.fillRect(rect(), palette().brush(QPalette::Base));
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    const QRect area = TextArea();
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::Text));
    if (Top >= PieceCount())
        return;
    const QTextLayout& first = LayoutOf(Top);
    qreal y = area.top();
    if (TopRowInLine > 0 && TopRowInLine < first.lineCount())
        y -= first.lineAt(TopRowInLine).y();
    for (int piece = Top; piece < PieceCount() && y < area.bottom(); ++piece) {
        const QTextLayout& layout = LayoutOf(piece);
        layout.draw(&painter, QPointF(area.left(), y));
        const int rows = layout.lineCount();
        y += rows > 0 ? layout.lineAt(rows - 1).rect().bottom() : RowHeight();
    }
}

void TLineBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Forget();
}

void TLineBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        Forget();
}

void TLineBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QString text = Store;
        text.replace(LineBreak, QStringLiteral("\n"));
        QApplication::clipboard()->setText(text);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
        ScrollRows(-1);
        break;
    case Qt::Key_Down:
        ScrollRows(1);
        break;
    case Qt::Key_PageUp:
        ScrollRows(-qMax(1, RowsInView() - 1));
        break;
    case Qt::Key_PageDown:
        ScrollRows(qMax(1, RowsInView() - 1));
        break;
    case Qt::Key_Home:
        ScrollToStart();
        break;
    case Qt::Key_End:
        ScrollToEnd();
        break;
    default:
        // Enter, Esc and the rest belong to the window.
        QWidget::keyPressEvent(event);
        return;
    }
    // A reader reads on from the line now at the top.
    if (QAccessible::isActive())
        if (QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(this))
            if (QAccessibleTextInterface* text = reader->textInterface())
                text->setCursorPosition(int(ReadOffset(TopLine())));
}

void TLineBox::wheelEvent(QWheelEvent* event) {
    WheelRemainder += event->angleDelta().y();
    const int steps = WheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    WheelRemainder -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        ScrollRows(-steps * QApplication::wheelScrollLines());
    event->accept();
}
