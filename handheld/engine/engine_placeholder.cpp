int engine_core_placeholder();
int engine_core_placeholder() { return 0; }
