// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace mq7410 {

// A one-line field of plain text that never runs over its neighbours: what does not fit ends
// in "…", and the whole text is in the tool tip and the accessible description.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setFullText(const QString &text);
    const QString &fullText() const { return m_text; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString m_text;
};

} // namespace mq7410
