#include "scan/MismatchScanner.h"

// Placeholder until the engine lands.
namespace tesslin {
void CMismatchScanner::Scan(std::vector<boost::filesystem::path>&,
                            std::vector<boost::filesystem::path>&) {}
void CMismatchScanner::AddFile(const boost::filesystem::path&) {}
FileKind CMismatchScanner::ClassifyExtension(const boost::filesystem::path&) const {
    return FileKind::Other;
}
bool CMismatchScanner::PassesFilter(const std::string&, FileKind) const {
    return false;
}
} // namespace tesslin
