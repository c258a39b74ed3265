#pragma once
// A one-line label for values that may be longer than their field: the
// text is elided in the middle ("Very long…name.txt"), never cut through a
// letter, and the tooltip then holds the whole.

#include <QLabel>

// Qt shows a tooltip that looks like markup as rich text; a path such as
// "/data/<b>x</b>.txt" must still read as it is.
QString plainToolTip(const QString& text);
// The same, wrapped to the screen: for texts far longer than one line.
QString wrappedToolTip(const QString& text);

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // Shows text, elided to the label's width. The tooltip is toolTip when
    // one is given, otherwise the whole text when it had to be elided.
    // keptEnd, the end of text, is kept whole where it can be: the rest is
    // elided before it (a file's name before ", column city").
    void setFullText(const QString& text, const QString& toolTip = {}, const QString& keptEnd = {});
    const QString& fullText() const { return full_; }
    const QString& fullToolTip() const { return tip_; }
    bool isElided() const { return text() != full_; }
    // Whether the tooltip wraps, as a long line's must.
    void setWrapsToolTip(bool wraps);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString full_;
    QString tip_;
    QString keptEnd_;
    bool wraps_ = false;
};
