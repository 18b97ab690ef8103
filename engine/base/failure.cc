#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

std::string messageFor(Failure::Kind kind, const std::string& payload) {
  using Kind = Failure::Kind;
  switch (kind) {
    case Kind::unsupported:
      return payload;
    case Kind::unreadable:
      return "Could not read " + payload + ". The file may be damaged or unsupported.";
    case Kind::encoding:
      return "Could not create the output: " + payload;
    case Kind::exists:
      return payload + " already exists. Choose a different output filename.";
    case Kind::noText:
      return "No readable text was found in this file.";
    case Kind::invalidQuality:
      return "Quality must be a finite number between 0 and 1.";
    case Kind::tooLarge:
      return "This file is too large to process safely at full resolution.";
    case Kind::lockedPDF:
      return "Unlock the PDF before converting it.";
    case Kind::noReduction:
      return "This file could not be made smaller with these settings. The original was kept.";
  }
  return payload;
}

}  // namespace

Failure::Failure(Kind kind, std::string payload)
    : kind_(kind), payload_(std::move(payload)), message_(messageFor(kind_, payload_)) {}

}  // namespace MediaEngine
