// Errors of the core. An Exception carries the message text the user sees;
// EAbort is a user's stop, which every operation ends silently.
#pragma once

#include <stdexcept>
#include <string>

namespace korvane {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A silent abort: the user cancelled. Never shown.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// "Unable to open file: %s." with the file name.
std::string UnableToOpenFileMessage(const std::string& fileName);

}  // namespace korvane
