// SPDX-License-Identifier: GPL-3.0-or-later
#include "elidedlabel.h"

#include <QResizeEvent>

namespace mq7410 {

ElidedLabel::ElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText); // texts from outside (file names, reasons) are never markup
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString &text)
{
    // One line: a reason from the system may hold line breaks.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (line == m_text)
        return;
    m_text = line;
    // A tool tip that looks like markup would be shown as markup: this one is always escaped.
    setToolTip(
            QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(m_text.toHtmlEscaped()));
    setAccessibleDescription(m_text);
    elide();
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    setText(fontMetrics().elidedText(m_text, Qt::ElideRight, std::max(contentsRect().width(), 0)));
}

} // namespace mq7410
