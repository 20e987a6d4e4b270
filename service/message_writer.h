#pragma once
// Stores accepted messages by group commit. A request thread hands its message over and waits;
// one writer thread puts every message that is waiting into one transaction and syncs it to
// disk once (synchronous=FULL), then answers them all. So every send answered as accepted is on
// disk, and one disk sync, the slow part, is shared by all the sends that waited for it.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "service/result_codes.h"
#include "service/sqlite_db.h"

namespace lumora {

struct NewMessage {
  std::int64_t account_id = 0;
  std::string destination;  // empty: the account's own phone
  std::string body;         // UTF-8
  std::int64_t parts = 0;
};

class MessageWriter {
 public:
  explicit MessageWriter(const std::string& db_path);
  ~MessageWriter();  // stores what is waiting, then stops
  MessageWriter(const MessageWriter&) = delete;
  MessageWriter& operator=(const MessageWriter&) = delete;

  // Blocks until the message is stored and its credits taken (kAccepted), or refused for lack
  // of credits (kNotEnoughCredits, nothing stored), or the database failed (kServiceError).
  ResultCode store(NewMessage message);

 private:
  struct Waiting {
    NewMessage message;
    ResultCode result = ResultCode::kServiceError;
    bool done = false;
  };

  void run();
  void write(const std::vector<Waiting*>& batch);
  ResultCode write_one(const NewMessage& message);

  Database db_;
  std::mutex mutex_;
  std::condition_variable queued_, written_;
  std::vector<Waiting*> queue_;
  bool stopping_ = false;
  std::thread thread_;  // last, so that it starts when the rest is ready
};

}  // namespace lumora
