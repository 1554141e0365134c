#pragma once

#include <string>
#include <vector>

namespace oryx::cli {

// One file of a run over many: a path to read, or a folder that could not be
// listed, whose message is reported in its place.
struct InputFile {
    std::string path;
    std::string error;
};

struct InputFiles {
    std::vector<InputFile> files;
    bool anyFolder = false;  // some argument was a folder
};

// The files the arguments name, in order: a file argument stands for itself
// (read or not, it is listed); a folder for every regular file directly in
// it, names in byte order, as folder + "/" + name. With `recursive` a
// folder's subfolders follow its files, names in byte order; links to folders
// met on the way are not followed, so a link loop cannot trap the walk.
InputFiles ListInputFiles(const std::vector<std::string>& arguments, bool recursive);

}  // namespace oryx::cli
