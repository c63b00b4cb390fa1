// Short forms of paths, so that any path can travel inside an MCI command: each folder or
// file name that a command cannot carry (one with a blank, a tab or a quote) is replaced by
// an upper-case alias such as "MYGAME~1" (the first six letters without blanks and quotes, a
// tilde and a number, and the first three letters of the extension). Names longer than eight
// letters, a dot and three have aliases too, taken when a path is too long otherwise; the
// names that share a stem are numbered in the order of the names of their folder, and a
// number whose alias is already a name there, in any case, is passed over for the next.
#pragma once

#include <string>

// The short form of an existing native path, with the alias of every long name too when
// `everyLongName`; empty when the path does not exist.
std::string ShortPathOf(const std::string& path, bool everyLongName = false);
// The long path that a short form names; a path without aliases comes back unchanged.
std::string ResolveShortPath(const std::string& path);
