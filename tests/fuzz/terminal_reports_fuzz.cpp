// The scanner of the terminal's reports takes a position report out
// wherever it stands among other bytes: the typing around it comes out as
// that of each side scanned alone (a side's end held as the start of a
// report is typing once what follows shows it was none), and the awaited
// reports are the first ones, whichever side they stand on. Where no report
// is awaited, every byte is typing (Shift-F3 sends ESC [ 1 ; 2 R).
#include <string>
#include <vector>

#include "console/posix/terminal_reports.hpp"
#include "fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  const std::size_t awaited = input.next() % 4;
  const int column = static_cast<int>(input.next());
  const std::string report =
      "\x1b[" + std::to_string(input.next()) + ";" + std::to_string(column) + "R";
  const std::size_t split_at = input.next() * 4;  // taken before the bytes left are counted
  const std::size_t split = std::min(split_at, input.bytes.size());
  const std::string_view before = input.bytes.substr(0, split);
  const std::string_view after = input.bytes.substr(split);

  const TakenReports first = take_reports(before, awaited);
  const std::size_t left = awaited - first.columns.size();
  const TakenReports middle = take_reports(report, left);
  const TakenReports last = take_reports(after, left - middle.columns.size());
  const TakenReports whole =
      take_reports(std::string(before).append(report).append(after), awaited);
  const TakenReports unawaited = take_reports(std::string(before).append(report), 0);
  require(unawaited.typed + unawaited.unfinished == std::string(before).append(report),
          "nothing taken out where nothing is awaited");
  require(middle.columns == std::vector<int>(left > 0 ? 1 : 0, column),
          "a whole report read for its column");
  std::vector<int> columns = first.columns;
  columns.insert(columns.end(), middle.columns.begin(), middle.columns.end());
  columns.insert(columns.end(), last.columns.begin(), last.columns.end());
  // A side's unfinished end is completed by what follows it: compared only
  // where the bytes before the report end whole.
  if (first.unfinished.empty()) {
    require(whole.typed + whole.unfinished ==
                first.typed + middle.typed + middle.unfinished + last.typed + last.unfinished,
            "the typing on each side kept, in order");
    require(whole.columns == columns, "the awaited position reports taken, the first ones");
  }
  return 0;
}
