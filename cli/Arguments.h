// Parsing the arguments of one command with Boost.Program_options.
#pragma once

#include <boost/program_options.hpp>

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

} // namespace tesslin::cli
