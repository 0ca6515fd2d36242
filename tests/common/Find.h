// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace telvaro::test {

// A control of a window as a user finds it: by its object name, anywhere
// under `root`. A missing control ends the test at once with its name and
// type, instead of a crash on a null pointer further on.
template <class T> T* child(const QObject* root, const QString& objectName)
{
    T* found = root ? root->findChild<T*>(objectName) : nullptr;
    if (!found)
        qFatal("no %s named \"%s\" under %s", T::staticMetaObject.className(),
               qPrintable(objectName), root ? qPrintable(root->objectName()) : "a null window");
    return found;
}
template <class T> T* child(const QObject* root, const char* objectName)
{
    return child<T>(root, QString::fromLatin1(objectName));
}
template <class T, class W> T* child(const std::unique_ptr<W>& root, const QString& objectName)
{
    return child<T>(root.get(), objectName);
}
template <class T, class W> T* child(const std::unique_ptr<W>& root, const char* objectName)
{
    return child<T>(root.get(), QString::fromLatin1(objectName));
}

} // namespace telvaro::test
