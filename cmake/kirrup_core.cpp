// kirrup_core bundles the toolkit-free subsystem libraries; it has no code of its own.
