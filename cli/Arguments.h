// Parsing the arguments of one command with Boost.Program_options.
#pragma once

#include <boost/program_options.hpp>

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tesslin::cli {

// Parses `args` against `options` and `positional`. Long options need their full name
// (no guessing from a prefix); "--" makes every later argument positional, so a path that
// starts with "-" can be given. Throws boost::program_options::error on a usage error.
boost::program_options::variables_map
ParseArguments(const std::vector<std::string>& args,
               const boost::program_options::options_description& options,
               const boost::program_options::positional_options_description& positional);

// The start every command shares: parses `args` as ParseArguments does into `values`. Returns
// the command's exit status when it is done with already: kUsageError after writing the usage
// error and a pointer to `tesslin COMMAND --help` to `err`, or kDone after writing usage() to
// `out` for -h/--help. Returns nothing when the command is to run.
std::optional<int>
ParseCommand(const std::string& command, const std::vector<std::string>& args,
             const boost::program_options::options_description& options,
             const boost::program_options::positional_options_description& positional,
             std::string (*usage)(), std::ostream& out, std::ostream& err,
             boost::program_options::variables_map& values);

} // namespace tesslin::cli
