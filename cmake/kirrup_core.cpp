// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup_core bundles the toolkit-free subsystem libraries; it has no code of its own.
