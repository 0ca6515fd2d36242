// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace telvaro {

// The profile loaded now, by name: "Untitled" until the user names one. The
// captions show it; the call logs and the profile's own file are named after
// it. The program's lasting parts own one; the parts that need the name are
// handed it.
class CurrentProfile
{
public:
    CurrentProfile() = default;
    CurrentProfile(const CurrentProfile&) = delete;
    CurrentProfile& operator=(const CurrentProfile&) = delete;

    static QString untitled() { return QStringLiteral("Untitled"); }

    const QString& name() const { return m_name; }
    // The user has given the profile a name (saved it under one).
    bool named() const { return m_name != untitled(); }
    void setName(const QString& name) { m_name = name; }

private:
    QString m_name = untitled();
};

} // namespace telvaro
