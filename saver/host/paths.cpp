#include "paths.h"

#include "vb_text.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool IsKept(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == ':';
}

}  // namespace

bool EndsWithBackslash(std::string_view path) { return !path.empty() && path.back() == '\\'; }

std::string FolderOf(std::string_view path) {
    size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) return std::string(path);
    bool driveRoot = slash == 2 && path[1] == ':';
    return std::string(path.substr(0, driveRoot ? slash + 1 : slash));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!EndsWithBackslash(folder)) joined += '\\';
    return joined += name;
}

std::string FileUriFromPath(std::string_view path) {
    // A share's "\\server" is the URI's authority; a drive path has none.
    std::string uri = path.substr(0, 2) == "\\\\" ? "file:" : "file:///";
    for (unsigned char c : path) {
        if (c == '\\') {
            uri += '/';
        } else if (IsKept(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

bool IsFileUri(std::string_view text) { return UCase(text.substr(0, 5)) == "FILE:"; }

bool PathFromFileUri(std::string_view uri, std::string& path) {
    if (!IsFileUri(uri)) return false;
    std::string_view rest = uri.substr(5);
    std::string decoded;
    if (rest.substr(0, 3) == "///") {
        rest.remove_prefix(3);
    } else if (rest.substr(0, 2) != "//") {
        return false;
    }
    for (size_t i = 0; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '/') {
            decoded += '\\';
        } else if (c == '%') {
            bool complete = i + 2 < rest.size();
            int high = complete ? HexDigit(rest[i + 1]) : -1, low = complete ? HexDigit(rest[i + 2]) : -1;
            if (high < 0 || low < 0 || (high | low) == 0) return false;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '\0') {
            return false;
        } else {
            decoded += c;
        }
    }
    path = std::move(decoded);
    return true;
}
