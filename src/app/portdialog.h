// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File > Port...: COM 1 to COM 16 as they stand, each with its device and whether this program
// could take it, and why not.

#include "portwalk.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

namespace mq7410 {

class PortDialog : public QDialog
{
    Q_OBJECT
public:
    PortDialog(const std::vector<PortInfo> &ports, QWidget *parent = nullptr);

    // The chosen COM n; 0 for none.
    int chosenPort() const;

private:
    QTreeWidget *m_list;
};

} // namespace mq7410
