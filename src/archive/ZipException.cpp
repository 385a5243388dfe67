#include "archive/ZipException.h"

#include <zlib.h>

#include <utility>

CZipException::CZipException(int cause, std::string fileName)
    : m_cause(cause), m_fileName(std::move(fileName)) {
    m_text = "cause " + std::to_string(cause) + ": " + ZipCauseDescription(cause);
}

int CZipException::CauseFromCode(int code) noexcept {
    switch (code) {
        case Z_STREAM_END:
            return kStreamEnd;
        case Z_NEED_DICT:
            return kNeedDict;
        case Z_ERRNO:
            return kErrNo;
        case Z_STREAM_ERROR:
            return kStreamError;
        case Z_DATA_ERROR:
            return kDataError;
        case Z_MEM_ERROR:
            return kMemError;
        case Z_BUF_ERROR:
            return kBufError;
        case Z_VERSION_ERROR:
            return kVersionError;
        case kCodeCdirNotFound:
            return kCdirNotFound;
        case kCodeBadPassword:
            return kBadPassword;
        default:
            break;
    }
    // -101 to -107 run in step with the causes 10 to 16.
    if (code <= kCodeBadZipFile && code >= -107) return kBadZipFile - (code - kCodeBadZipFile);
    return kGeneric;
}

void CZipException::Throw(int code, const std::string& fileName) {
    throw CZipException(CauseFromCode(code), fileName);
}

const char* ZipCauseDescription(int cause) noexcept {
    switch (cause) {
        case CZipException::kStreamEnd:
            return "unexpected end of stream";
        case CZipException::kNeedDict:
            return "dictionary needed";
        case CZipException::kErrNo:
            return "file error";
        case CZipException::kStreamError:
            return "stream error";
        case CZipException::kDataError:
            return "data error";
        case CZipException::kMemError:
            return "out of memory";
        case CZipException::kBufError:
            return "buffer error";
        case CZipException::kVersionError:
            return "zlib version error";
        case CZipException::kBadZipFile:
            return "damaged archive";
        case CZipException::kBadCrc:
            return "CRC mismatch";
        case CZipException::kBadPassword:
            return "wrong password";
        case CZipException::kCdirNotFound:
            return "no end of central directory record";
        default:
            break;
    }
    if (cause >= CZipException::kFirstWriteCause && cause <= CZipException::kLastWriteCause)
        return "writing or spanning archives is not supported";
    return "unknown error";
}
