// SPDX-License-Identifier: GPL-3.0-or-later
// Sets an environment variable for the life of the object, then restores it.
// For tests, which run one at a time in their process.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<QByteArray> value)
      : name_(name),
        old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
    value ? qputenv(name, *value) : qunsetenv(name);
  }
  ~ScopedEnvironment() { old_ ? qputenv(name_, *old_) : qunsetenv(name_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<QByteArray> old_;
};
