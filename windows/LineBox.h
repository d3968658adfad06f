#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QTextLayout;

// A read-only box of text lines that wraps long lines at the box's width and
// has no scroll bars. It keeps the text as one string with CR LF between the
// lines and lays out only the lines in view, so a list of any length is
// filled, shown and added to in about the same time.
//
// Keys: Up and Down move by one row, Page Up and Page Down by a box's height,
// Ctrl+Home and Ctrl+End (or Home and End) to the start and the end; the
// mouse wheel scrolls; Ctrl+C copies the whole text.
class TLineBox : public QWidget {
    Q_OBJECT

public:
    explicit TLineBox(QWidget* parent = nullptr);
    ~TLineBox() override;

    // The lines joined by CR LF; a text ending in CR LF has an empty last line.
    const QString& Text() const { return Store; }
    // Replaces the text; CR LF, lone CR and lone LF all break lines. The view
    // goes back to the first line.
    void SetText(const QString& text);
    // Adds a line at the end: after the last line break when the text ends in
    // one (or is empty), followed by a break; else after a new break, with
    // none of its own.
    void AppendLine(const QString& line);

    int LineCount() const { return int(Starts.size()); }
    QString Line(int index) const;
    // Where a line begins in the text with a single LF between the lines
    // (as a screen reader reads it).
    qsizetype ReadOffset(int index) const { return Starts[size_t(index)] - index; }
    // The line at the top of the view, and the row of it (when wrapped) at
    // the top, counted within the piece of the line in view (a line is laid
    // out in pieces of 4,096 characters).
    int TopLine() const;
    int TopRow() const { return TopRowInLine; }
    // The rows in view at once.
    int RowsInView() const;

    // Moves the view by rows (negative: up), stopping at the start and where
    // the last row reaches the bottom.
    void ScrollRows(int rows);
    void ScrollToStart();
    void ScrollToEnd();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    qsizetype LineEnd(int line) const;
    // Adds the pieces of a line, which must be the last line with pieces.
    void AddPieces(int line);
    int PieceCount() const;
    QString PieceText(int piece) const;
    QTextLayout& LayoutOf(int piece) const;
    int RowsOf(int piece) const;
    int RowHeight() const;
    QRect TextArea() const;
    void Forget();

    QString Store;
    std::vector<qsizetype> Starts;                            // where each line begins in Store
    std::vector<qsizetype> PieceStart;                        // where each piece begins in Store
    std::vector<int> PieceLine;                               // the line each piece belongs to
    int Top = 0;                                              // the piece at the top of the view
    int TopRowInLine = 0;                                     // its row at the top
    mutable QHash<int, std::shared_ptr<QTextLayout>> Layouts; // pieces laid out so far
    int WheelRemainder = 0;
};
