// Reading back the ZIP archives the engine writes, field by field, in tests.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct Member {
  std::string name;
  std::string content;
};

// The archive's entries as its central directory lists them, each checked
// against its local header: the fields the engine's ZIP writer promises, and
// the data where the local header says it is.
std::vector<Member> membersOf(const std::string& archive);

std::vector<std::string> namesOf(const std::vector<Member>& members);

}  // namespace TestSupport
