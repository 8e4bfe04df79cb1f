#include "command/Journal.h"
#include "script/Language.h"

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include <sys/stat.h>

// A script runs statement by statement as it is read. The first failing statement stops it; its error is
// written to standard error as "<file>:<line>: <message>" (after the command's own "// Error:" line), where
// file and line are those of the innermost failing statement (in a sourced script or a procedure defined
// in another file, that file) and the message is the last error the statement displayed. A syntax error
// anywhere in the file stops the script before anything runs. A script sourced by another reports
// through the outermost one.

namespace host {

namespace {

int& depth() {
    static int value = 0;
    return value;
}

}  // namespace

MStatus runScript(const std::string& path) {
    struct stat info {};
    bool directory = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    std::ifstream in(path, std::ios::binary);
    if (!in || directory) {
        MGlobal::displayError(MString("Cannot open the script file \"" + path + "\"" +
                                      (directory ? ": it is a directory." : ".")));
        return MStatus::kFailure;
    }
    // One read of the whole file where its size is known (a file that changes meanwhile reads to its end).
    auto content = std::make_shared<std::string>();
    if (::stat(path.c_str(), &info) == 0 && info.st_size > 0) {
        content->resize(static_cast<size_t>(info.st_size));
        in.read(content->data(), static_cast<std::streamsize>(content->size()));
        content->resize(static_cast<size_t>(in.gcount()));
        in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    }
    content->append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        MGlobal::displayError(MString("Cannot read the script file \"" + path + "\"."));
        return MStatus::kFailure;
    }

    size_t mark = journalSize();
    ++depth();
    MStatus status = runText(std::move(content), path, nullptr);
    --depth();
    if (status || depth() > 0)
        return status;
    FailurePlace place = lastFailurePlace();
    std::string message;
    if (!place.syntaxError.empty()) {
        message = "syntax error: " + place.syntaxError;
    } else {
        message = lastErrorSince(mark);
        if (message.empty())
            message = "the statement failed (" + status.errorString().str() + ")";
    }
    std::cerr << (place.path.empty() ? path : place.path) << ":" << place.line << ": " << message << std::endl;
    return status;
}

}  // namespace host
