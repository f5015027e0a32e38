// SPDX-License-Identifier: GPL-3.0-or-later
#include "wrappingbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace mq7410 {

WrappingButton::WrappingButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{}

int WrappingButton::margin() const
{
    return style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) / 2
           + style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
}

QSize WrappingButton::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const QStringList words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int widest = 0;
    for (const QString &word : words)
        widest = std::max(widest, fm.horizontalAdvance(word));
    const int lines = std::max<int>(1, static_cast<int>(words.size()));
    return {widest + 2 * margin(), lines * fm.lineSpacing() + 2 * margin()};
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the bevel only; the caption is drawn wrapped below
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect textArea = rect().adjusted(margin(), margin(), -margin(), -margin());
    painter.drawText(textArea, Qt::AlignCenter, wrappedAtBlanks(textArea.width()));
}

// Breaks only at blanks: the toolkit's own wrapping would also break after the "/".
QString WrappingButton::wrappedAtBlanks(int width) const
{
    const QFontMetrics fm = fontMetrics();
    QStringList lines;
    for (const QString &word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = lines.isEmpty() ? word : lines.last() + QLatin1Char(' ') + word;
        if (!lines.isEmpty() && fm.horizontalAdvance(joined) <= width)
            lines.last() = joined;
        else
            lines.append(word);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace mq7410
