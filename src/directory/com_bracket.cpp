#include "directory/com_bracket.h"

namespace corvane {

ComBracket::ComBracket(platform::DirectoryService& directory)
    : directory_(directory), initialized_(!platform::hresult::Failed(directory.CoInitialize())) {}

ComBracket::~ComBracket() {
    End();
}

void ComBracket::End() {
    if (initialized_) {
        initialized_ = false;
        directory_.CoUninitialize();
    }
}

} // namespace corvane
