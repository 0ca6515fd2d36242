// SPDX-License-Identifier: GPL-3.0-or-later
// Headers every test includes, compiled once for all tests.
#pragma once

#include "pch_gui.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
