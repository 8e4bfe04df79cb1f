// A shared library that is not a plug-in: it exports no entry points.

__attribute__((visibility("default"))) int notAPluginAnswer() { return 42; }
