#include "paths.h"

size_t LastBackslash(std::string_view path, LeadByteTest isLeadByte) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < path.size(); i += isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1)
        if (path[i] == '\\') found = i;
    return found;
}

bool EndsWithBackslash(std::string_view path, LeadByteTest isLeadByte) {
    return !path.empty() && LastBackslash(path, isLeadByte) == path.size() - 1;
}

std::string FolderOf(std::string_view path, LeadByteTest isLeadByte) {
    size_t slash = LastBackslash(path, isLeadByte);
    if (slash == std::string_view::npos) return std::string(path);
    bool driveRoot = slash == 2 && path[1] == ':';
    return std::string(path.substr(0, driveRoot ? slash + 1 : slash));
}

std::string JoinPath(std::string_view folder, std::string_view name, LeadByteTest isLeadByte) {
    std::string joined(folder);
    if (!EndsWithBackslash(folder, isLeadByte)) joined += '\\';
    return joined += name;
}
