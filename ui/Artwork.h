// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registers the compiled-in artwork once. It lives in a static library, where the linker drops an
// archive member nothing names, so every user of a picture calls this first.
// Outside any namespace, as Q_INIT_RESOURCE requires.
void InitZantroveArtwork();
