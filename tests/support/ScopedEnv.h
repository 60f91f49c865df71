#pragma once
// Sets an environment variable for a scope and puts the old value back.

#include <cstdlib>
#include <optional>
#include <string>

#include "support/Environment.h"

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        testing_support::SetEnv(name, value.c_str());
    }
    ~ScopedEnv() {
        if (old_) testing_support::SetEnv(name_, old_->c_str());
        else testing_support::UnsetEnv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};
