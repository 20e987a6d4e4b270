#include "graphics/error.h"

#include <utility>

RaisedError::RaisedError(std::int32_t number, std::wstring source, std::wstring description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_ = std::to_string(number_) + " ";
  for (wchar_t c : source_ + L": " + description_)
    what_.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
}

RaisedError RaisedError::WithSource(std::wstring source) const {
  return RaisedError(number_, std::move(source), description_);
}
