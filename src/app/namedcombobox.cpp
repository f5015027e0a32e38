// SPDX-License-Identifier: GPL-3.0-or-later
#include "namedcombobox.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace mq7410 {
namespace {

class NamedComboBox : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return static_cast<const QComboBox *>(widget())->currentText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *namedComboBox(const QString &className, QObject *object)
{
    auto *box = qobject_cast<QComboBox *>(object);
    if (className != QLatin1String("QComboBox") || !box || box->isEditable()
        || box->accessibleName().isEmpty())
        return nullptr;
    return new NamedComboBox(box);
}

} // namespace

void nameComboBoxesByTheirOwnName()
{
    QAccessible::installFactory(namedComboBox);
}

} // namespace mq7410
