// Compiles the precompiled header target.
