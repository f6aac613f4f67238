#include "engine/TagScanner.h"

#include "engine/StopFinder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace vantaro {

namespace {

// The host's pump is offered a turn after this many examined bytes.
constexpr std::size_t kPumpInterval = 16 * 1024;

// The state of one pass. The buffer holds [0, end_); bytes before pos_ are examined, and those
// from pieceStart_ to pos_ belong to the current segment but are not handed on yet.
class Pass {
  public:
    // A pass that reads the file as it goes (content empty), or one over the page's whole
    // content already read.
    Pass(DocumentFile& file, std::string_view content, IgnoreTagList& regions, RunFlags& flags,
         EngineHost& host, bool secondPass, ScanPassHandler& handler, std::size_t readChunk,
         TagScanner::StopSearchState& stops)
        : file_(file),
          regions_(regions),
          flags_(flags),
          host_(host),
          secondPass_(secondPass),
          handler_(handler),
          readChunk_(readChunk),
          stops_(stops),
          finder_(stops.finder) {
        finder_.FollowCurrentWidth();
        if (content.data() != nullptr) {
            data_ = reinterpret_cast<const unsigned char*>(content.data());
            end_ = content.size();
            atEnd_ = true;
        } else {
            buffer_.resize(readChunk + kBlockSize);
            data_ = buffer_.data();
        }
        finder_.SetData(data_, end_);
        SyncSpecialBytes();
    }

    bool Run() {
        bool result = true;
        while (!flags_.AbortFile.load(std::memory_order_relaxed)) {
            if (pos_ == end_) {
                if (atEnd_) {
                    break;
                }
                if (!ReadMore()) {
                    result = false;
                    break;
                }
                continue;
            }
            if (Step()) {
                StopExit();
                return result;
            }
            if (SincePump() >= kPumpInterval) {
                Pump();
            }
        }
        FlushProgress();
        EndOfPass();
        return result;
    }

  private:
    // Examines the bytes up to the pump's next turn, one run of ordinary bytes and the byte
    // after it at a time; returns early after a delimiter (which may have read more), when the
    // page is abandoned, or true when a handler asked to stop.
    bool Step() {
        const std::size_t budget = kPumpInterval - std::min(SincePump(), kPumpInterval);
        std::size_t limit = std::min(end_, pos_ + budget);
        while (true) {
            const StopSearch found = FindNextStop(limit);
            line_ += found.LineFeeds;
            pos_ = found.Position;
            if (pos_ == limit) {
                return false;
            }
            if (regions_.MayStartDelimiterAt(data_ + pos_, end_ - pos_)) {
                const std::size_t before = pos_;
                if (TakeDelimiter()) {
                    SyncSpecialBytes();
                    return false;
                }
                limit -= before - pos_;  // looking ahead may have moved these bytes to the front
            }
            const unsigned char c = data_[pos_];
            const bool structural = !inQuote_ && !regions_.InIgnoredRegion();
            bool stop = false;
            if (c == '\n') {
                ++line_;
            } else if (c == '"') {
                inQuote_ = !inQuote_;
            } else if (c == '<' && structural && !inTag_) {
                inTag_ = true;
                if (IsTagPassedOver()) {
                    passedOverTagStart_ = pos_;
                    passingOverTag_ = true;
                } else {
                    DeliverOutsideText();
                }
            } else if (c == '>' && structural && inTag_) {
                if (passingOverTag_) {
                    inTag_ = false;
                    passingOverTag_ = false;
                } else {
                    stop = DeliverTag();
                    SyncSpecialBytes();  // attribute reads may leave the regions changed
                }
            }
            ++pos_;
            if (stop) {
                return true;
            }
            if (pos_ == limit || flags_.AbortFile.load(std::memory_order_relaxed)) {
                return false;
            }
        }
    }

    // The next byte Step must look at. Outside tags, the tags the handler does not act on are
    // passed over by the search itself, with no stop of their own.
    StopSearch FindNextStop(std::size_t limit) {
        if (tagsActedOn_ != nullptr && (!inTag_ || passingOverTag_) && finder_.CanPassTagEnds() &&
            !regions_.InIgnoredRegion()) {
            StopFinder::PassedTag tag{passingOverTag_, passedOverTagStart_};
            const StopSearch found =
                finder_.FindPastTags(pos_, limit, inQuote_, tag, OpenStops(), regions_);
            inTag_ = passingOverTag_ = tag.Open;
            passedOverTagStart_ = tag.Start;
            return found;
        }
        return finder_.CanPassQuotes()
                   ? finder_.FindPastQuotes(pos_, limit, StructuralBracket(), inQuote_)
                   : finder_.Find(data_, pos_, limit, WantedBracket());
    }

    // Made once for the handler's tags and the regions' rows, and kept from page to page.
    const TagStartPairs& OpenStops() {
        if (!stops_.openStopsMade || stops_.openStopsActedOn != tagsActedOn_ ||
            stops_.openStopsRows != regions_.RowsVersion()) {
            stops_.openStops = *tagsActedOn_;
            regions_.AddOpenDelimiterPairsAfterBracket(stops_.openStops);
            stops_.openStopsActedOn = tagsActedOn_;
            stops_.openStopsRows = regions_.RowsVersion();
            stops_.openStopsMade = true;
        }
        return stops_.openStops;
    }

    // Inside quotes and language regions no bracket counts; otherwise only the one that would
    // open or close a tag.
    StopFinder::Bracket WantedBracket() const {
        if (inQuote_ || regions_.InIgnoredRegion()) {
            return StopFinder::Bracket::None;
        }
        return inTag_ ? StopFinder::Bracket::Close : StopFinder::Bracket::Open;
    }

    // The bracket that would open or close a tag outside quotes; none in a language region.
    StopFinder::Bracket StructuralBracket() const {
        if (regions_.InIgnoredRegion()) {
            return StopFinder::Bracket::None;
        }
        return inTag_ ? StopFinder::Bracket::Close : StopFinder::Bracket::Open;
    }

    // A tag the handler does not act on stays part of the outside text, which spares most
    // tags a call and the handler a look at them. Whether it is one is known from the two
    // bytes after '<', when they have been read.
    bool IsTagPassedOver() const {
        return tagsActedOn_ != nullptr && pos_ + 2 < end_ &&
               !tagsActedOn_->Has(data_[pos_ + 1], data_[pos_ + 2]);
    }

    // Before the segment is split (at a buffer's refill or the pass's end), a tag being passed
    // over becomes a tag of its own again, so the handler sees it as it would any tag.
    void EndPassingOver() {
        if (!passingOverTag_) {
            return;
        }
        passingOverTag_ = false;
        if (passedOverTagStart_ > pieceStart_) {
            handler_.OnOutsideText({reinterpret_cast<const char*>(data_) + pieceStart_,
                                    passedOverTagStart_ - pieceStart_});
        }
        pieceStart_ = passedOverTagStart_;
    }

    // The search also stops at the first bytes of the delimiters that could match in the
    // current state of the regions.
    void SyncSpecialBytes() {
        if (stops_.regionsVersion == regions_.Version() && stops_.synced) {
            return;
        }
        finder_.SetDelimiterStarts(regions_.FirstByteList());
        stops_.regionsVersion = regions_.Version();
        stops_.synced = true;
    }

    // A delimiter is copied into the current segment unexamined: its bytes never count as
    // quotes, line feeds or brackets.
    bool TakeDelimiter() {
        const std::size_t wanted = std::min(regions_.LongestDelimiter(), kBlockSize);
        LookAhead(wanted);
        const std::size_t matched =
            regions_.CheckIgnoreDelimiter(data_ + pos_, end_ - pos_, kBlockSize);
        if (matched == 0) {
            return false;
        }
        pos_ += matched;
        return true;
    }

    void DeliverOutsideText() {
        if (pos_ > pieceStart_) {
            handler_.OnOutsideText(Piece());
        }
        pieceStart_ = pos_;
    }

    // The tag runs to the current '>' inclusive.
    bool DeliverTag() {
        const std::string_view piece(reinterpret_cast<const char*>(data_) + pieceStart_,
                                     pos_ + 1 - pieceStart_);
        inTag_ = false;
        pieceStart_ = pos_ + 1;
        if (tagCarry_.empty()) {
            return handler_.OnTag(piece, line_);
        }
        tagCarry_.append(piece);
        const bool stop = handler_.OnTag(tagCarry_, line_);
        tagCarry_.clear();
        return stop;
    }

    std::string_view Piece() const {
        return {reinterpret_cast<const char*>(data_) + pieceStart_, pos_ - pieceStart_};
    }

    // Hands on (outside text) or keeps (tag) the examined part of the current segment, so the
    // buffer can be reused.
    void SetAsidePiece() {
        EndPassingOver();
        if (pos_ > pieceStart_) {
            if (inTag_) {
                tagCarry_.append(Piece());
            } else {
                handler_.OnOutsideText(Piece());
            }
        }
        pieceStart_ = pos_;
    }

    // Moves the unexamined bytes to the front and reads after them.
    bool ReadMore() {
        SetAsidePiece();
        const std::size_t kept = end_ - pos_;
        std::memmove(buffer_.data(), buffer_.data() + pos_, kept);
        examinedBeforeBuffer_ += pos_;
        pos_ = pieceStart_ = 0;
        end_ = kept;
        std::size_t got = 0;
        const bool ok = file_.ReadFileBlock(buffer_.data() + kept, readChunk_, got);
        end_ = kept + got;
        atEnd_ = !ok || got < readChunk_;
        finder_.SetData(data_, end_);
        return ok;
    }

    // A delimiter might run past the data read so far: read on. A failure here abandons the
    // file's changes, as any failure part way through a page does.
    void LookAhead(std::size_t wanted) {
        while (end_ - pos_ < wanted && !atEnd_) {
            if (!ReadMore()) {
                flags_.AbortFile.store(true, std::memory_order_relaxed);
                return;
            }
        }
    }

    // Every byte before pos_ has been examined; counting them from the position, rather than
    // one by one, keeps the loop's state in registers.
    std::uint64_t Examined() const { return examinedBeforeBuffer_ + pos_; }
    std::uint64_t SincePump() const { return Examined() - examinedAtPump_; }

    void FlushProgress(std::uint64_t examined) {
        if (secondPass_ && examined > reported_) {
            host_.AdvanceProgress(examined - reported_);
            reported_ = examined;
        }
    }
    void FlushProgress() { FlushProgress(Examined()); }

    void Pump() {
        FlushProgress();
        examinedAtPump_ = Examined();
        host_.PumpEvents();
    }

    // A handler stopped the pass: count the rest of the file as done, keep no leftover.
    void StopExit() {
        if (secondPass_) {
            FlushProgress(std::max(file_.FileSize(), Examined()));
        }
    }

    void EndOfPass() {
        EndPassingOver();
        if (inTag_) {
            tagCarry_.append(Piece());
            if (!tagCarry_.empty()) {
                handler_.OnUnclosedTag(tagCarry_);
            }
        } else if (pos_ > pieceStart_) {
            handler_.OnOutsideText(Piece());
        }
    }

    DocumentFile& file_;
    IgnoreTagList& regions_;
    RunFlags& flags_;
    EngineHost& host_;
    const bool secondPass_;
    ScanPassHandler& handler_;
    const std::size_t readChunk_;

    std::vector<unsigned char> buffer_;
    const unsigned char* data_ = nullptr;  // the buffer, or the whole content
    TagScanner::StopSearchState& stops_;
    StopFinder& finder_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::size_t pieceStart_ = 0;
    bool atEnd_ = false;
    std::string tagCarry_;

    bool inTag_ = false;
    bool inQuote_ = false;
    const TagStartPairs* const tagsActedOn_ = handler_.TagsActedOn();
    bool passingOverTag_ = false;  // the open tag is one the handler does not act on
    std::size_t passedOverTagStart_ = 0;
    std::uint64_t line_ = 1;

    std::uint64_t examinedBeforeBuffer_ = 0;  // of the bytes moved out of the buffer
    std::uint64_t examinedAtPump_ = 0;
    std::uint64_t reported_ = 0;
};

}  // namespace

bool TagScanner::ScanPass(DocumentFile& file, bool secondPass, ScanPassHandler& handler) {
    regions_.CloseAllRegions();
    if (!file.SeekFileStart()) {
        return false;
    }
    Pass pass(file, {}, regions_, flags_, host_, secondPass, handler, readChunk_, stops_);
    return pass.Run();
}

bool TagScanner::ScanPass(DocumentFile& file, std::string_view content, bool secondPass,
                          ScanPassHandler& handler) {
    regions_.CloseAllRegions();
    Pass pass(file, content.data() != nullptr ? content : std::string_view("", 0), regions_, flags_,
              host_, secondPass, handler, readChunk_, stops_);
    return pass.Run();
}

}  // namespace vantaro
