// HTTPS downloads against a server on 127.0.0.1 whose certificates a test
// authority, made with openssl for the test, has signed.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "net/download_test_support.h"
#include "net/http_download.h"
#include "platform/scratch_folder.h"

extern char** environ;

namespace quorvel {
namespace {

using testing::MemoryFile;

// The system's python (quicker to start than a version manager's shim).
std::string python() {
    return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

// The python TLS server, running until the object goes.
class TlsServer {
public:
    TlsServer(const std::string& cert, const std::string& key) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string script = QUORVEL_SOURCE_DIR "/tests/net/tls_server.py";
        const std::string program = python();
        std::vector<char*> argv = {
            const_cast<char*>(program.c_str()), const_cast<char*>(script.c_str()),
            const_cast<char*>(cert.c_str()), const_cast<char*>(key.c_str()), nullptr};
        if (posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        std::string line;
        char c = 0;
        pollfd waiting{out[0], POLLIN, 0};
        while (pid_ > 0 && ::poll(&waiting, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 &&
               c != '\n') {
            line += c;
        }
        ::close(out[0]);
        port_ = std::atoi(line.c_str());
    }
    ~TlsServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Makes a certificate for `subjectAltName` signed by the authority in the folder.
bool makeCertificate(const testing::ScratchFolder& folder, const std::string& name,
                     const std::string& altName) {
    const std::string base = folder.file(name);
    std::ofstream(base + ".ext") << "subjectAltName=" << altName << "\n";
    return run("openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " +
               base + ".key -out " + base + ".csr -subj /CN=" + name) &&
           run("openssl x509 -req -in " + base + ".csr -CA " + folder.file("ca.pem") + " -CAkey " +
               folder.file("ca.key") + " -CAcreateserial -days 2 -out " + base + ".pem -extfile " +
               base + ".ext");
}

class TlsDownload : public ::testing::Test {
protected:
    void SetUp() override {
        if (!run("openssl version") || !run(python() + " -c 'import ssl'")) {
            GTEST_SKIP() << "openssl or python3 with ssl is missing";
        }
        for (const char* name : {"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        ASSERT_TRUE(
            run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                "-nodes -days 2 -subj '/CN=Quorvel Test Authority' -keyout " +
                folder_.file("ca.key") + " -out " + folder_.file("ca.pem")));
        ASSERT_TRUE(makeCertificate(folder_, "right", "IP:127.0.0.1"));
        ASSERT_TRUE(makeCertificate(folder_, "wrong", "DNS:wrong.invalid"));
    }
    void TearDown() override {
        ::unsetenv("SSL_CERT_FILE");
        ::unsetenv("CURL_CA_BUNDLE");
    }

    testing::ScratchFolder folder_;
};

TEST_F(TlsDownload, CertificatesAreVerifiedAgainstTheTrustedAuthorities) {
    TlsServer right(folder_.file("right.pem"), folder_.file("right.key"));
    TlsServer wrong(folder_.file("wrong.pem"), folder_.file("wrong.key"));
    ASSERT_GT(right.port(), 0);
    ASSERT_GT(wrong.port(), 0);
    struct Case {
        const char* name;
        const char* variable;  // names the test authority, or nullptr: the system's only
        const TlsServer& server;
        DownloadResult result;
    };
    const Case cases[] = {
        {"trusted", "SSL_CERT_FILE", right, DownloadResult::Completed},
        {"trusted by curl's variable", "CURL_CA_BUNDLE", right, DownloadResult::Completed},
        {"unknown authority", nullptr, right, DownloadResult::UnknownError},
        {"wrong host name", "SSL_CERT_FILE", wrong, DownloadResult::UnknownError},
    };
    for (const Case& c : cases) {
        ::unsetenv("SSL_CERT_FILE");
        ::unsetenv("CURL_CA_BUNDLE");
        if (c.variable != nullptr) ::setenv(c.variable, folder_.file("ca.pem").c_str(), 1);
        HttpDownload download;
        MemoryFile file;
        // Any port: TLS goes by the scheme.
        std::string url = "https://127.0.0.1:" + std::to_string(c.server.port()) + "/page.htm";
        EXPECT_EQ(download.getFile(0, url, file), c.result)
            << c.name << ": " << download.lastError();
        EXPECT_EQ(file.bytes(), c.result == DownloadResult::Completed ? "secure page" : "")
            << c.name;
    }
}

}  // namespace
}  // namespace quorvel
