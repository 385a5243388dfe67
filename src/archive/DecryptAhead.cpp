#include "archive/DecryptAhead.h"

#include <algorithm>

#include "archive/ZipException.h"

CDecryptAhead::CDecryptAhead(const CFileHandle& file, std::uint64_t offset, std::uint32_t size,
                             const CZipCrypto& keys)
    : m_file(file),
      m_offset(offset),
      m_left(size),
      m_keys(keys),
      m_buffer(kSlots * kPieceSize),
      m_worker(&CDecryptAhead::Run, this) {}

CDecryptAhead::~CDecryptAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_slotsFree.notify_one();
    m_worker.join();
}

void CDecryptAhead::Run() noexcept {
    std::exception_ptr failure;
    try {
        for (std::size_t piece = 0; m_left > 0; ++piece) {
            {
                std::unique_lock lock(m_mutex);
                if (piece - m_released >= kSlots) {
                    // Every slot is taken. Waiting until half of them are free again wakes
                    // this thread once for kSlots / 2 pieces rather than for every one.
                    m_workerWaiting = true;
                    m_slotsFree.wait(lock,
                                     [&] { return m_stop || piece - m_released <= kSlots / 2; });
                    m_workerWaiting = false;
                }
                if (m_stop) break;
            }
            // The slot is the worker's alone until it publishes the piece below.
            std::uint8_t* data = m_buffer.data() + piece % kSlots * kPieceSize;
            SSlot& slot = m_slots[piece % kSlots];
            const auto n = static_cast<std::size_t>(std::min<std::uint32_t>(m_left, kPieceSize));
            int error = 0;
            if (m_file.ReadAt(m_offset, data, n) != n) {
                error = CZipException::kCodeBadZipFile;
            } else {
                m_keys.Decrypt(data, n);
            }
            slot.size = n;
            slot.error = error;
            m_offset += n;
            m_left -= static_cast<std::uint32_t>(n);
            bool wake = false;
            {
                std::lock_guard lock(m_mutex);
                m_produced = piece + 1;
                wake = m_callerWaiting;
            }
            if (wake) m_pieceReady.notify_one();
            // The reader stops at a short read, so nothing after it is wanted.
            if (error != 0) break;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_finished = true;
        wake = m_callerWaiting;
    }
    if (wake) m_pieceReady.notify_one();
}

CDecryptedPiece CDecryptAhead::Next() {
    std::unique_lock lock(m_mutex);
    // The piece handed out last is no longer in use.
    m_released = m_next;
    if (m_workerWaiting && m_produced - m_released <= kSlots / 2) m_slotsFree.notify_one();
    if (m_produced == m_next && !m_finished) {
        m_callerWaiting = true;
        m_pieceReady.wait(lock, [&] { return m_produced > m_next || m_finished; });
        m_callerWaiting = false;
    }
    if (m_produced == m_next) {
        if (m_failure) std::rethrow_exception(m_failure);
        // Asked for more than the member holds: its sizes do not add up.
        return {nullptr, 0, CZipException::kCodeBadZipFile};
    }
    const std::size_t slot = m_next % kSlots;
    ++m_next;
    return {m_buffer.data() + slot * kPieceSize, m_slots[slot].size, m_slots[slot].error};
}
