// Short forms of paths, so that a path with blanks can travel inside an MCI command: each
// folder or file name that holds a blank is replaced by an upper-case alias such as
// "MYGAME~1" (the first six letters without blanks, a tilde and a number, and the first
// three letters of the extension), numbered in the order of the names of its folder.
#pragma once

#include <string>

// The short form of an existing native path; empty when the path does not exist.
std::string ShortPathOf(const std::string& path);
// The long path that a short form names; a path without aliases comes back unchanged.
std::string ResolveShortPath(const std::string& path);
