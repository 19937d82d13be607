#include "app/errors.h"

namespace korvane {

std::string UnableToOpenFileMessage(const std::string& fileName) {
  return "Unable to open file: " + fileName + ".";
}

}  // namespace korvane
