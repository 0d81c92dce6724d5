#include "druvo/platform/Exceptions.h"

#include <utility>

namespace druvo {

Exception::Exception(AnsiString message) : Message(std::move(message)) {}
Exception::~Exception() = default;
const char* Exception::what() const noexcept { return Message.c_str(); }

EConvertError::~EConvertError() = default;
EListError::~EListError() = default;

}  // namespace druvo
