// SPDX-License-Identifier: GPL-3.0-or-later
#include "portdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mq7410 {

PortDialog::PortDialog(const std::vector<PortInfo> &ports, QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("PortDialog"));
    setWindowTitle(QStringLiteral("Port"));
    m_list->setObjectName(QStringLiteral("PortList"));
    m_list->setAccessibleName(QStringLiteral("Serial ports"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Device"),
                             QStringLiteral("State"), QStringLiteral("Why")});
    for (const PortInfo &port : ports) {
        auto *item = new QTreeWidgetItem(m_list, {QStringLiteral("COM %1").arg(port.number),
                                                  QString::fromStdString(port.description),
                                                  QLatin1String(stateWord(port.state)),
                                                  QString::fromStdString(port.reason)});
        item->setData(0, Qt::UserRole, port.number);
        if (port.state != PortState::Free)
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Use"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(chosenPort() > 0);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ports.empty() ? QStringLiteral("No serial port was found.")
                                               : QStringLiteral("Choose the supply's port. The "
                                                                "panel lets its port go and "
                                                                "takes this one; nothing is "
                                                                "sent."),
                                 this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(720, 320);
}

int PortDialog::chosenPort() const
{
    const QList<QTreeWidgetItem *> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? 0 : chosen.front()->data(0, Qt::UserRole).toInt();
}

} // namespace mq7410
