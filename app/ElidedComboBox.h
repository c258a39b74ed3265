#pragma once
// A drop-down list whose closed box shortens an entry too long for it with
// "…" rather than cutting it off mid-letter, and then shows the whole entry
// as its tooltip; its open list is as wide as its longest entry. Column
// names can be any length; the box cannot.

#include <QComboBox>

class ElidedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    // The current entry as the closed box shows it.
    QString shownText() const;

    // Widened when it opens, not as it is filled: a list of thousands of
    // faces is measured only if it is opened.
    void showPopup() override;

protected:
    // What the closed box shows before shortening: the current entry.
    virtual QString boxText() const { return currentText(); }
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect textRect() const;
};
