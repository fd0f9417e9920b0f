#include "tools/send/sender.h"

#include "tools/send/document.h"

namespace {

constexpr char kChannel[] = "QUARVEN";
constexpr char kName[] = "quarven-send: ";

}  // namespace

SendStatus Send(const std::vector<std::string>& args, ServerChannel& channel,
                std::uint64_t maxBytes, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || args[0].empty()) {
    err << "usage: quarven-send FILE\n"
           "Sends FILE to the quarven add-in of this Remote Desktop session's client,\n"
           "which prints it on the client's side.\n";
    return kUsage;
  }
  const std::string& path = args[0];
  // The file is read first, so that a bad file never reaches the channel.
  const Document document = ReadDocument(path, maxBytes);
  if (!document.error.empty()) {
    err << kName << document.error << "\n";
    return kBadFile;
  }

  switch (channel.Open(kChannel)) {
    case ServerChannel::Opened::kYes:
      break;
    case ServerChannel::Opened::kNotInSession:
      err << kName << "not in a Remote Desktop session: run it inside the session whose "
          << "client should print\n";
      return kNotInSession;
    case ServerChannel::Opened::kNotOnConnection:
      err << kName << "the channel " << kChannel << " is not available on this connection: "
          << "is the quarven add-in installed on the client?\n";
      return kNoChannel;
  }
  const std::uint64_t written = channel.Write(document.bytes);
  channel.Close();
  if (written != document.bytes.size()) {
    err << kName << "only " << written << " of the " << document.bytes.size() << " bytes of "
        << path << " were sent; send it again\n";
    return kShortWrite;
  }
  out << kName << "sent " << path << " (" << document.bytes.size() << " bytes) on " << kChannel
      << "\n";
  return kSent;
}
