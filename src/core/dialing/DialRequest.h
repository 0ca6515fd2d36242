// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The dial request is a value every layer above core/common passes on.
#include "core/common/DialRequest.h"
