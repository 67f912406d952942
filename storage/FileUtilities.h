// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Paths and folders are the operating system's business; storage and the layers above keep using
// them under this name.
#include "platform/FileSystem.h"
