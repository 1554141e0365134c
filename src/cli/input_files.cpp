#include "cli/input_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "text/message_value.h"

namespace oryx::cli {

namespace {

namespace fs = std::filesystem;

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

void ListFolder(const std::string& folder, bool recursive, std::vector<InputFile>& out) {
    std::vector<InputFile> files;  // the names alone, until they are in order
    std::vector<std::string> folders;
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::string name = entry->path().filename().native();
        // The type of a link is its target's: a dangling link, a link loop or
        // a link into a folder that cannot be searched has none to be read,
        // and is reported as any file that cannot be read.
        std::error_code typeError;
        if (entry->is_regular_file(typeError)) {
            files.push_back({std::move(name), {}});
        } else if (typeError) {
            std::string message = "cannot read '" + text::MessageValue(JoinPath(folder, name)) + "': ";
            files.push_back({std::move(name), message + typeError.message()});
        } else if (recursive && !entry->is_symlink(typeError) && entry->is_directory(typeError)) {
            folders.push_back(std::move(name));
        }
    }
    if (error) {
        out.push_back({folder, "cannot read '" + text::MessageValue(folder) + "': " + error.message()});
        return;
    }
    std::sort(files.begin(), files.end(), [](const InputFile& a, const InputFile& b) { return a.path < b.path; });
    std::sort(folders.begin(), folders.end());
    for (InputFile& file : files) out.push_back({JoinPath(folder, file.path), std::move(file.error)});
    for (const std::string& name : folders) ListFolder(JoinPath(folder, name), recursive, out);
}

}  // namespace

InputFiles ListInputFiles(const std::vector<std::string>& arguments, bool recursive) {
    InputFiles input;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            input.anyFolder = true;
            ListFolder(argument, recursive, input.files);
        } else {
            input.files.push_back({argument, {}});
        }
    }
    return input;
}

}  // namespace oryx::cli
