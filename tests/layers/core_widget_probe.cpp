// SPDX-License-Identifier: GPL-3.0-or-later
// Built against the core alone, which does not link Qt Widgets: this include
// must fail, and the test expects the compiler to say so.
#include <QWidget>

int main()
{
    return 0;
}
