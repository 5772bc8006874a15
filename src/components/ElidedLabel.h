#pragma once
// A one-line label for names of any length: it takes the width its layout gives and no more, cuts the
// text with "…" where it does not fit and shows the whole text as its tooltip. text() stays the whole text.

#include <QLabel>

namespace zarnel {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);

    // Hides QLabel::setText so that the tooltip follows the text.
    void setText(const QString& text);
    // What is painted at the present width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace zarnel
