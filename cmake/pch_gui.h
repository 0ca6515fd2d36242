// SPDX-License-Identifier: GPL-3.0-or-later
// Headers nearly every window includes, compiled once per build.
#pragma once

#include "pch_core.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
