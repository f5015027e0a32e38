// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace mq7410 {

// A command button whose caption wraps at blanks, for the two square switches
// ("Output /Off" shows on two lines). The caption itself stays one text.
class WrappingButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrappingButton(const QString &text, QWidget *parent = nullptr);

    // The smallest size that shows every word whole, one per line if need be.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int margin() const;
    QString wrappedAtBlanks(int width) const;
};

} // namespace mq7410
