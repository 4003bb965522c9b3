// Where something is in a resource script, and the one error the compiler
// reports: a message tied to a file and line.
//
// Every failure of the compiler is an RcError; main prints it as
// "file:line: message" and stops. Nothing here recovers from errors.
#pragma once

#include <stdexcept>
#include <string>

struct Location {
  std::string file;  // as opened: the command-line path or dir + "/" + name
  int line = 0;
};

class RcError : public std::runtime_error {
 public:
  RcError(Location where, const std::string& message)
      : std::runtime_error(message), where_(std::move(where)) {}

  const Location& where() const { return where_; }

 private:
  Location where_;
};
