// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// On Linux Qt tells assistive technology a combo box's current item as its name, which hides
// the name the program gave it: a screen reader would say "Time" where it should say what the
// box chooses. With this, a combo box that has a name of its own says that name, and its
// current item is its value.

namespace mq7410 {

// Once is enough; more calls do nothing.
void nameComboBoxesByTheirOwnName();

} // namespace mq7410
