// The fixture of the tests that work on a library of their own: a started window whose library
// is a new file in the temporary folder, removed at the end of the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "test_support.h"

namespace ks::test {

class LibraryFileTest : public ::testing::Test {
 protected:
  // The file's name starts with `prefix` and ends in ".db".
  explicit LibraryFileTest(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override {
    file = temp_path(prefix_, ".db");
    m.database = file;
    m.Data1.set_database_name(file);
  }
  void TearDown() override { std::filesystem::remove(file); }

  // A stored field of record id, read by a control of its own.
  std::string stored(int id, const std::string& field) {
    return stored_field(file, "SELECT * FROM schema WHERE progressivo = ?", id, field);
  }

  Started s;
  Main& m = *s.m;
  std::string file;

 private:
  std::string prefix_;
};

}  // namespace ks::test
