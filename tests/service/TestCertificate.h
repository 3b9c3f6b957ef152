#pragma once
#include <QTemporaryDir>

#include <string>

// A self-signed certificate for 127.0.0.1 and localhost with its key, written as PEM files into a
// folder that lives as long as the object.
class TestCertificate {
public:
    TestCertificate();
    std::string certificateFile() const { return certificatePath; }
    std::string keyFile() const { return keyPath; }

private:
    QTemporaryDir folder;
    std::string certificatePath;
    std::string keyPath;
};
