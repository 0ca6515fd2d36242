// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

namespace telvaro::test {

// What keeps a user of a screen reader or of the keyboard alone from a
// window's controls: a control a screen reader cannot name, or one Tab skips.
// One line per control ("QLineEdit txtName: no name"); empty when there is
// none. Hidden controls (another page, a folded part) count too.
inline QStringList accessFaults(QWidget* window)
{
    QStringList faults;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             qobject_cast<QAbstractItemView*>(w) ||
                             qobject_cast<QAbstractSlider*>(w) || qobject_cast<QTabBar*>(w);
        // The parts of a composite control (the box of a spin box, the
        // scroll bars of a list, the menu bar's overflow button) are named
        // and reached through it.
        bool part = false;
        for (QWidget* up = w->parentWidget(); up && up != window; up = up->parentWidget())
            part = part || qobject_cast<QAbstractSpinBox*>(up) || qobject_cast<QComboBox*>(up) ||
                   qobject_cast<QAbstractItemView*>(up) || qobject_cast<QMenuBar*>(up);
        if (!control || part || w->window() != window)
            continue;
        const QString name = QStringLiteral("%1 %2").arg(
            QString::fromLatin1(w->metaObject()->className()), w->objectName());
        if (!(w->focusPolicy() & Qt::TabFocus))
            faults << name + QStringLiteral(": Tab skips it");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        // A list box or a tab strip otherwise goes by the item chosen.
        const bool byValue = (qobject_cast<QComboBox*>(w) || qobject_cast<QTabBar*>(w)) &&
                             w->accessibleName().isEmpty() &&
                             a->relations(QAccessible::Label).isEmpty();
        if (!a || byValue || a->text(QAccessible::Name).remove(u'&').trimmed().isEmpty())
            faults << name + QStringLiteral(": no name");
    }
    return faults;
}

} // namespace telvaro::test
