#include "support/FileFaults.h"

namespace test {

namespace {

std::string line(int cause, long osError, const std::string& name, const std::string& message) {
    return "cause " + std::to_string(cause) + ", os error " + std::to_string(osError) + ", name '" +
           name + "', message '" + message + "'";
}

} // namespace

std::string FileFaults::describe(const CFileException& error) {
    return line(error.m_cause, error.m_lOsError, error.m_strFileName, error.GetErrorMessage());
}

std::string FileFaults::describe(const ExpectedFileError& expected) {
    return line(expected.cause, expected.osError, expected.fileName, expected.message);
}

} // namespace test
