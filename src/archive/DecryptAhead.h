#pragma once
// Decrypts the data of an encrypted member on a worker thread, piece by piece, ahead of the
// inflate that consumes it on the calling thread.
//
// The program is otherwise single-threaded, and this stays invisible to the reader's callers:
// the worker starts and ends within one CArchiveReader::ExtractToMemory call, shares nothing
// but this object, and every failure it meets is handed back to the calling thread. It exists
// because the decryption is one serial chain through every byte (each byte's keys depend on
// the plain byte before it), as costly as the inflate itself; one core can only add the two
// up, a second core lets them overlap.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/FileHandle.h"
#include "archive/ZipCrypto.h"

// One decrypted piece, or the reader's error code that reading it came to (then no data).
struct CDecryptedPiece {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    int error = 0;
};

class CDecryptAhead {
public:
    // The pieces are those the reader reads in: this size, the last one shorter.
    static constexpr std::size_t kPieceSize = 16384;
    // Pieces decrypted and not yet released by the caller, at most.
    static constexpr std::size_t kSlots = 16;

    // Starts the worker over size bytes of file from offset on, with keys as they stand after
    // the member's encryption header; file must outlive the object. Throws std::bad_alloc or,
    // when no thread can be started, std::system_error; nothing runs then.
    CDecryptAhead(const CFileHandle& file, std::uint64_t offset, std::uint32_t size,
                  const CZipCrypto& keys);
    // Stops the worker at its next piece and waits for it.
    ~CDecryptAhead();
    CDecryptAhead(const CDecryptAhead&) = delete;
    CDecryptAhead& operator=(const CDecryptAhead&) = delete;

    // The next piece in the file's order, waiting for it if need be; its bytes stay valid
    // until the next call. A piece that could not be read fully carries kCodeBadZipFile and
    // is the last one. Rethrows what the worker raised, once no piece before it is left.
    CDecryptedPiece Next();

private:
    void Run() noexcept;

    // The worker's own: where it reads and the keys it decrypts with.
    const CFileHandle& m_file;
    std::uint64_t m_offset;
    std::uint32_t m_left;
    CZipCrypto m_keys;

    // kSlots pieces of kPieceSize; piece p goes to slot p % kSlots.
    std::vector<std::uint8_t> m_buffer;
    struct SSlot {
        std::size_t size = 0;
        int error = 0;
    };
    SSlot m_slots[kSlots];
    // The caller's own: the piece Next hands out next.
    std::size_t m_next = 0;

    // Guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_pieceReady;
    std::condition_variable m_slotsFree;
    std::size_t m_produced = 0;  // pieces decrypted
    std::size_t m_released = 0;  // pieces the caller is done with
    bool m_finished = false;     // the worker has ended, with all pieces or not
    bool m_stop = false;
    bool m_workerWaiting = false;
    bool m_callerWaiting = false;
    std::exception_ptr m_failure;

    // Last, so that the worker starts once everything it uses exists.
    std::thread m_worker;
};
