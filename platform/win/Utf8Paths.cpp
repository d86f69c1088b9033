// Makes Boost.Filesystem read and give narrow paths as UTF-8 on Windows, as everywhere: the
// program keeps every path as UTF-8 text, and Windows receives it as UTF-16. Without this a
// path's narrow form would be the ANSI code page, which lacks most of the world's letters.
// Compiled into every program (see CMakeLists.txt), so it runs before main.
#include <boost/filesystem/detail/utf8_codecvt_facet.hpp>
#include <boost/filesystem/path.hpp>

#include <locale>

namespace {

const bool utf8_paths = [] {
    boost::filesystem::path::imbue(
        std::locale(std::locale(), new boost::filesystem::detail::utf8_codecvt_facet));
    return true;
}();

} // namespace
