#pragma once

class TQVL_LongTermStorage;
class TQVL_LongTermStorages;

// A long-term storage handed out as an additional file of its manager, open
// for as long as the handle lives: whatever leaves the scope (a dialog that
// raises, an early return) closes it.
class TQVL_StorageHandle
{
public:
    TQVL_StorageHandle(TQVL_LongTermStorages& manager, TQVL_LongTermStorage* storage);
    TQVL_StorageHandle(TQVL_StorageHandle&& other) noexcept;
    TQVL_StorageHandle& operator=(TQVL_StorageHandle&&) = delete;
    TQVL_StorageHandle(const TQVL_StorageHandle&) = delete;
    TQVL_StorageHandle& operator=(const TQVL_StorageHandle&) = delete;
    // Closes the storage unless Close did; a failure here is dropped, since
    // the handle usually goes while another error is on its way.
    ~TQVL_StorageHandle();

    TQVL_LongTermStorage* get() const { return storage; }
    TQVL_LongTermStorage& operator*() const { return *storage; }
    TQVL_LongTermStorage* operator->() const { return storage; }

    // Closes the storage now and raises what closing raises.
    void Close();

private:
    TQVL_LongTermStorages* manager;
    TQVL_LongTermStorage* storage;
};
