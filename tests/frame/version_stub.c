/* Carrier of a version resource for the version reader tests. */
int version_stub(void) { return 0; }
