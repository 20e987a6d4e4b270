#pragma once
// An error raised to the caller with a number, a source and a description, in the manner of
// the bitmap and region classes (for instance 26010 "No region to save").
#include <cstdint>
#include <exception>
#include <string>

class RaisedError : public std::exception {
 public:
  RaisedError(std::int32_t number, std::wstring source, std::wstring description);

  std::int32_t number() const { return number_; }
  const std::wstring& source() const { return source_; }
  const std::wstring& description() const { return description_; }
  // The same error from another source (errors passed on keep number and description).
  RaisedError WithSource(std::wstring source) const;

  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::wstring source_;
  std::wstring description_;
  std::string what_;  // "number source: description", non-ASCII as '?'
};

// Numbers shared with the runtime errors of the classes' original environment.
namespace error_numbers {
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kDeviceIO = 57;
inline constexpr std::int32_t kInputPastEndOfFile = 62;
inline constexpr std::int32_t kPathFileAccess = 75;
}  // namespace error_numbers
