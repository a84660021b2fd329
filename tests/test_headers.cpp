// The library that carries the test programs' shared precompiled headers needs a source.
