#include "service/message_writer.h"

#include <cstdio>
#include <exception>

#include "service/accounts.h"
#include "service/messages.h"

namespace lumora {

namespace {

Database open_durable(const std::string& db_path) {
  Database db(db_path);
  db.exec("PRAGMA synchronous=FULL");  // a commit is on disk before it returns
  return db;
}

}  // namespace

MessageWriter::MessageWriter(const std::string& db_path)
    : db_(open_durable(db_path)), thread_([this] { run(); }) {}

MessageWriter::~MessageWriter() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_one();
  thread_.join();
}

ResultCode MessageWriter::store(NewMessage message) {
  Waiting waiting{std::move(message)};
  std::unique_lock lock(mutex_);
  queue_.push_back(&waiting);
  queued_.notify_one();
  written_.wait(lock, [&waiting] { return waiting.done; });
  return waiting.result;
}

void MessageWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and nothing waits
    std::vector<Waiting*> batch;
    batch.swap(queue_);
    lock.unlock();  // what arrives while this batch is written waits for the next one
    write(batch);
    lock.lock();
    for (Waiting* waiting : batch) waiting->done = true;
    written_.notify_all();
  }
}

void MessageWriter::write(const std::vector<Waiting*>& batch) {
  try {
    Transaction tx(db_);
    for (Waiting* waiting : batch) waiting->result = write_one(waiting->message);
    tx.commit();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lumora-service: storing %zu messages: %s\n", batch.size(), error.what());
    for (Waiting* waiting : batch) waiting->result = ResultCode::kServiceError;
  }
}

// One message in a savepoint of its own, so that its failure leaves the others of the batch.
ResultCode MessageWriter::write_one(const NewMessage& message) {
  db_.exec("SAVEPOINT one");
  try {
    const auto account = find_account(db_, message.account_id);  // the credits as they stand now
    ResultCode result = ResultCode::kLoginFailed;                 // the account was removed
    if (account && account->credits < message.parts) result = ResultCode::kNotEnoughCredits;
    if (account && account->credits >= message.parts) {
      record_message(db_, account->id, message.destination.empty() ? account->phone : message.destination,
                     message.body, message.parts);
      take_credits(db_, account->id, message.parts);
      result = ResultCode::kAccepted;
    }
    db_.exec("RELEASE one");
    return result;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lumora-service: storing a message: %s\n", error.what());
    db_.exec("ROLLBACK TO one");
    db_.exec("RELEASE one");
    return ResultCode::kServiceError;
  }
}

}  // namespace lumora
