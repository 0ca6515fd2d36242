// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace telvaro::test {

// A control of a window, found by its object name.
template <typename T> T* part(const QObject* window, const char* name)
{
    return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}
template <typename T> T* part(const QObject* window, const QString& name)
{
    return window ? window->findChild<T*>(name) : nullptr;
}

} // namespace telvaro::test
