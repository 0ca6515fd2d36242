// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
namespace telvaro {
// The result of an operation that can fail: ok, or the reason it failed (a text for the user).
struct [[nodiscard]] Result
{
    QString error; // null when the operation succeeded
    bool ok() const { return error.isNull(); }
    explicit operator bool() const { return ok(); }
    static Result success() { return {}; }
    static Result failure(QString why) { return {why.isNull() ? QStringLiteral("") : std::move(why)}; }
};
} // namespace telvaro
