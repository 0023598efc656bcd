#include "common/paths.h"

#include <optional>
#include <vector>

#include "common/files.h"
#include "common/links.h"

std::string flattenPath(std::string_view archivePath) {
    std::string out;
    out.reserve(archivePath.size());
    for (char c : archivePath) {
        if (c == '\\')
            out += '+';
        else if (c == '+')
            out += "%2B";
        else if (c == '%')
            out += "%25";
        else
            out += c;
    }
    return out;
}

std::string unflattenName(std::string_view flatName) {
    std::string out;
    out.reserve(flatName.size());
    for (std::size_t i = 0; i < flatName.size(); ++i) {
        char c = flatName[i];
        if (c == '+') {
            out += '\\';
        } else if (c == '%' && flatName.substr(i, 3) == "%2B") {
            out += '+';
            i += 2;
        } else if (c == '%' && flatName.substr(i, 3) == "%25") {
            out += '%';
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::vector<std::string_view>> archivePathSegments(std::string_view archivePath) {
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= archivePath.size(); ++i) {
        if (i < archivePath.size() && archivePath[i] != '\\' && archivePath[i] != '/') continue;
        std::string_view segment = archivePath.substr(start, i - start);
        const bool first = start == 0;
        start = i + 1;
        if (segment.empty() && first) return std::nullopt;  // "\x" names the root of a drive
        // "a\\b" and "a\.\b" name the same file as "a\b".
        if (segment.empty() || segment == ".") continue;
        if (segment == ".." || segment.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos)
            return std::nullopt;
        segments.push_back(segment);
    }
    if (segments.empty()) return std::nullopt;  // the root itself is no file of its own
    return segments;
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
           name.find_first_of(kDriveCharacters) == std::string_view::npos;
}

std::optional<fs::path> safeJoin(const fs::path& root, std::string_view archivePath, CheckedFolders* checked) {
    std::optional<std::vector<std::string_view>> segments = archivePathSegments(archivePath);
    if (!segments) return std::nullopt;
    fs::path result = root;
    for (std::size_t k = 0; k < segments->size(); ++k) {
        result /= hostPath((*segments)[k]);
        const bool folder = k + 1 < segments->size();
        if (folder && checked && checked->count(result.native()) > 0) continue;
        if (isLinkOrJunction(result)) return std::nullopt;
        if (folder && checked) checked->insert(result.native());
    }
    return result;
}

namespace {

// The names of `path` below `root` when its text is root's, a separator and names between
// single separators, as a walk of root makes it: found without the lexical work of
// lexically_relative. Nothing for any other path.
std::optional<std::vector<fs::path>> namesBelow(const fs::path& root, const fs::path& path) {
    const fs::path::string_type &r = root.native(), &p = path.native();
    auto separator = [](fs::path::value_type c) { return c == fs::path::preferred_separator || c == '/'; };
    if (r.empty() || p.size() <= r.size() || p.compare(0, r.size(), r) != 0) return std::nullopt;
    std::size_t start = r.size();
    if (!separator(r.back()) && !separator(p[start++])) return std::nullopt;
    std::vector<fs::path> names;
    for (std::size_t end; start <= p.size(); start = end + 1) {
        end = start;
        while (end < p.size() && !separator(p[end])) ++end;
        if (end == start) return std::nullopt;
        names.emplace_back(p.substr(start, end - start));
    }
    return names;
}

}  // namespace

std::optional<std::string> entryPathOf(const fs::path& root, const fs::path& path) {
    std::optional<std::vector<fs::path>> names = namesBelow(root, path);
    if (!names) {
        const fs::path relative = path.lexically_relative(root);
        names.emplace(relative.begin(), relative.end());
    }
    std::string out;
    for (const fs::path& part : *names) {
        // A name that is one whole segment of an archive path, as archivePathSegments reads it.
        const std::string name = pathText(part);
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of(std::string_view("\\/:\0", 4)) != std::string::npos)
            return std::nullopt;
        if (!out.empty()) out += '\\';
        out += name;
    }
    return out;
}

std::string archivePathOf(const fs::path& root, const fs::path& path) {
    std::string out;
    for (const auto& part : path.lexically_relative(root)) {
        if (!out.empty()) out += '\\';
        out += pathText(part);
    }
    return out;
}
