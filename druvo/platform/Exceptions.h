// The runtime's exception classes.
//
// Exception carries its message as code-page-1250 text in Message; what()
// returns the same bytes. EConvertError reports impossible dates and malformed
// numbers, EListError an index outside a list.
#pragma once

#include <exception>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API Exception : public std::exception {
 public:
  explicit Exception(AnsiString message);
  ~Exception() override;
  const char* what() const noexcept override;

  AnsiString Message;
};

class DRUVO_API EConvertError : public Exception {
 public:
  using Exception::Exception;
  ~EConvertError() override;
};

class DRUVO_API EListError : public Exception {
 public:
  using Exception::Exception;
  ~EListError() override;
};

}  // namespace druvo
