// The program's own resources are compiled into this library (see
// CMakeLists.txt); this unit only gives the library a source of its own.
