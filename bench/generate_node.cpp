// Writes a realistic provisioning file of one switch node: a shelf of cards,
// logical processors, ATM interfaces with their connections, trunks, frame
// relay interfaces with DLCIs, and virtual routers with IP ports; every
// component a fixed report reads is there, so the reports have rows to build.
//
//   generate_node startprov|configure LINES OUTPUT [--modified]
//
// The node grows with LINES: more interfaces and connections, never deeper.
// With --modified it writes the same node after changes, for the comparison
// benchmark: about 1% of the attribute values changed, 1,000 components
// added and 1,000 removed (leaves, spread over the whole node).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Path = std::vector<std::string>;
using Pairs = std::vector<std::string>;

// What --modified changes: every n-th value, leaf and component.
struct Modification {
    long changeEvery = 100;
    long removeEvery = 0;
    long addEvery = 0;
};

// The lines of one format for a sequence of components. Paths are pieces;
// attributes are "name value" pairs.
class Format {
public:
    explicit Format(bool startProv) : startProv_(startProv), pairsPerLine_(startProv ? 3 : 4) {}

    // Appends the component's lines to `lines` (when given) and returns their number.
    long Component(const Path& path, const Pairs& pairs, std::vector<std::string>* lines) {
        long count = 0;
        const auto line = [&](std::string text) {
            ++count;
            if (lines) lines->push_back(std::move(text));
        };
        if (startProv_) {
            const std::string joined = Join(path);
            line("add " + joined);
            // Long attribute lists are split over several set lines, as real dumps do.
            for (std::size_t i = 0; i < pairs.size(); i += pairsPerLine_)
                line("set " + joined + " " + JoinPairs(pairs, i));
        } else {
            // Enter the path from the common prefix with the current context.
            std::size_t common = 0;
            while (common < context_.size() && common < path.size() && context_[common] == path[common]) ++common;
            while (context_.size() > common) {
                line("return");
                context_.pop_back();
            }
            for (std::size_t i = common; i < path.size(); ++i) {
                line("configure " + path[i]);
                context_.push_back(path[i]);
            }
            for (std::size_t i = 0; i < pairs.size(); i += pairsPerLine_) line("set " + JoinPairs(pairs, i));
        }
        return count;
    }
    void Finish(std::vector<std::string>& lines) {
        if (startProv_) {
            lines.push_back("end prov");
        } else {
            while (!context_.empty()) {
                lines.push_back("return");
                context_.pop_back();
            }
        }
    }

private:
    static std::string Join(const Path& path) {
        std::string s;
        for (const auto& p : path) s += (s.empty() ? "" : " ") + p;
        return s;
    }
    std::string JoinPairs(const Pairs& pairs, std::size_t first) const {
        std::string s;
        for (std::size_t j = first; j < pairs.size() && j < first + pairsPerLine_; ++j)
            s += (j > first ? ", " : "") + pairs[j];
        return s;
    }

    bool startProv_;
    // Dumps of the configure kind give more attributes per set line.
    std::size_t pairsPerLine_;
    Path context_;
};

// Writes the node, or only counts it when there is no output. The node's
// size follows the lines of the unmodified file, so a modified copy
// describes the same interfaces.
class Writer {
public:
    Writer(std::ostream* out, bool startProv, const Modification* modification)
        : out_(out), format_(startProv), plain_(startProv), modification_(modification) {
        Line(startProv ? "start prov" : "# saved configuration of node17");
    }
    void Component(const Path& path, const Pairs& pairs) {
        lines_ += plain_.Component(path, pairs, nullptr);
        ++components_;
        // These kinds are always leaves here, so leaving one out takes
        // nothing else with it.
        const bool leaf = path.back() == "Tm" || path.back() == "Sp" || path.back() == "OspfIf";
        if (leaf) ++leaves_;
        if (!modification_) {
            Write(path, pairs);
            return;
        }
        if (components_ % modification_->addEvery == 0) ++addsDue_;
        if (leaf && leaves_ % modification_->removeEvery == 0 && removed_ < 1000) {
            ++removed_;
            return;
        }
        Pairs changed = pairs;
        for (std::string& pair : changed)
            if (++values_ % modification_->changeEvery == 0) {
                pair += "0";
                ++changedValues_;
            }
        Write(path, changed);
        if (addsDue_ > 0 && added_ < 1000) {
            --addsDue_;
            ++added_;
            Path extra = path;
            extra.push_back("Pm/9");
            Write(extra, {"addedBy maintenance", "ticket " + std::to_string(added_)});
        }
    }
    void Finish() {
        std::vector<std::string> lines;
        format_.Finish(lines);
        for (const std::string& line : lines) Line(line);
    }
    long Lines() const { return lines_; }
    long Written() const { return written_; }
    long Components() const { return components_; }
    long Leaves() const { return leaves_; }
    long Added() const { return added_; }
    long Removed() const { return removed_; }
    long ChangedValues() const { return changedValues_; }

private:
    void Write(const Path& path, const Pairs& pairs) {
        scratch_.clear();
        format_.Component(path, pairs, &scratch_);
        for (const std::string& line : scratch_) Line(line);
    }
    void Line(const std::string& text) {
        if (out_) *out_ << text << "\r\n";
        ++written_;
    }

    std::ostream* out_;
    Format format_;
    Format plain_;  // counts the unmodified file's lines
    const Modification* modification_;
    std::vector<std::string> scratch_;
    long lines_ = 1;
    long written_ = 0;
    long components_ = 0, leaves_ = 0, values_ = 0;
    long added_ = 0, removed_ = 0, changedValues_ = 0;
    long addsDue_ = 0;  // a component due for a new child was left out
};

std::string N(long v) { return std::to_string(v); }

struct Interfaces {
    long atm = 0;
    long fr = 0;
};

Interfaces Generate(Writer& w, long target) {
    w.Component({"Shelf"}, {"shelfType mss15000", "nodeName node17"});
    for (int c = 0; c < 16; ++c)
        w.Component({"Shelf", "Card/" + N(c)},
                    {"cardType " + std::string(c % 4 == 0 ? "aal1Ces" : "e3Atm"), "spareCard " + N((c + 1) % 16),
                     "adminState unlocked", "cardFunction forwarding"});
    for (int lp = 0; lp < 16; ++lp)
        w.Component({"Lp/" + N(lp)}, {"mainCard Shelf Card/" + N(lp), "spareCard Shelf Card/" + N((lp + 8) % 16),
                                      "logicalProcessorType Sw Lpt/" + N(lp % 3)});
    for (int t = 0; t < 4; ++t) w.Component({"Lpt/" + N(t)}, {"feature atmNetworking, frameRelay, ipiVc"});
    w.Component({"Sw"}, {"avList mss17.2"});
    for (int t = 0; t < 3; ++t)
        w.Component({"Sw", "Lpt/" + N(t)}, {"featureList (atmNetworking frameRelay ipiVc" + N(t) + ")"});
    w.Component({"ModuleData"}, {"nodeId 17", "nodePrefix 47.0091.8100.0000.0017", "softwareVersion mss17.2"});
    w.Component({"Mod"},
                {"nodeId 17", "nodeName node17", "namsId 1017", "regionId 4", "nodePrefix 47.0091.8100.0000.0017"});
    w.Component({"Mod", "Vcs"}, {"networkIdCode 3021", "defaultNumberingPlan e164"});
    w.Component({"Ns"},
                {"primaryReference Lp/0 Sonet/0", "secondaryReference Lp/1 Sonet/0", "tertiaryReference internal"});
    w.Component({"Rtg"}, {});
    w.Component({"Rtg", "Dpn"}, {"routingId 217", "moduleId 17"});

    // Interfaces take the rest of the file: each ATM interface carries a
    // number of VCCs, each frame relay interface a number of DLCIs.
    long atm = 0, fr = 0, vr = 0;
    while (w.Lines() < target) {
        const std::string a = "AtmIf/" + N(atm);
        w.Component({a}, {"interfaceName Lp/" + N(atm % 16) + " Sonet/" + N(atm % 4) + " Path/0",
                          "lp Lp/" + N(atm % 16) + " Sw 1", "oamSegmentBoundary yes", "uniVersion v3",
                          "trafficShaping disabled", "usageParameterControl on"});
        w.Component({a, "Ca"}, {"maxVpiBits 8", "maxVciBits 16"});
        if (atm % 8 == 0) {
            w.Component({a, "Pnni"}, {"nodeAddress 47.0091.8100.0000.0017." + N(atm)});
        } else {
            w.Component({a, "Uni"}, {"version v3.1", std::string("side ") + (atm % 2 ? "network" : "user")});
            w.Component({a, "Uni", "Ilmi"}, {"operatingMode automatic"});
        }
        for (int v = 0; v < 24 && w.Lines() < target; ++v) {
            const std::string vcc = "Vcc/0." + N(32 + v);
            w.Component({a, vcc}, {"adminState unlocked", "customerIdentifier " + N(100000 + atm * 24 + v),
                                   "shapingIndicator disabled"});
            if (v % 6 == 5) {
                w.Component({a, vcc, v % 12 == 5 ? "Nep" : "Src"}, {"adminState unlocked"});
            } else {
                w.Component({a, vcc, "Nrp"}, {"nextHop AtmIf/" + N((atm + 1) % 1000) + " Vcc/0." + N(40 + v),
                                              "atmConnection Lp/" + N(v % 16), "vpiVci 0." + N(32 + v)});
            }
            w.Component({a, vcc, "Vcd"}, {"atmServiceCategory cbr", "txTrafficDescType 3", "rxTrafficDescType 3",
                                          "qosClass 1", "cellTransferDelay 250", "usageParameterControl enabled"});
            w.Component({a, vcc, "Vcd", "Tm"}, {"txTrafficDescParm pc" + N(1000 + v) + " scr0 rsr0 mbs32 cdv250",
                                                "rxTrafficDescParm pc" + N(2000 + v) + " scr0 rsr0 mbs32 cdv250"});
        }
        if (atm % 4 == 0) {
            const std::string trunk = "Trk/" + N(atm / 4);
            w.Component({trunk}, {"customerIdentifier " + N(atm / 4)});
            w.Component({trunk, "Atm"}, {"atmConnection " + a + " Vcc/0.32"});
        }
        ++atm;
        if (atm % 4 == 0) {
            const std::string f = "FrUni/" + N(fr);
            w.Component({f}, {"interfaceName fr" + N(fr)});
            w.Component({f, "Framer"}, {"interfaceName Lp/" + N(fr % 16) + " E1/" + N(fr % 8)});
            if (fr % 2) w.Component({f, "VFramer"}, {"logicalProcessor Lp/" + N((fr + 1) % 16)});
            for (int d = 0; d < 16 && w.Lines() < target; ++d) {
                const std::string dlci = "Dlci/" + N(100 + d);
                w.Component({f, dlci}, {"rateEnforcement on", "committedInformationRate 64000"});
                w.Component({f, dlci, "Nrp"}, {"remoteDna 4700" + N(d), "remoteDlci " + N(200 + d)});
                w.Component({f, dlci, "Dc"}, {"remoteDna 4700" + N(d), "remoteDlci " + N(200 + d), "type permanent",
                                              "transferPriority 1", "discardPriority 0"});
                w.Component({f, dlci, "Sp"}, {"rateEnforcement on", "committedInformationRate 64000"});
            }
            const std::string fa = "FrAtm/" + N(fr);
            w.Component({fa}, {"interfaceName fratm" + N(fr), "otherVirtualFramer Lp/" + N(fr % 16)});
            w.Component({fa, "Framer"}, {"interfaceName Lp/" + N(fr % 16) + " E1/" + N(8 + fr % 8)});
            for (int d = 0; d < 8 && w.Lines() < target; ++d) {
                const std::string dlci = "Dlci/" + N(16 + d);
                w.Component({fa, dlci}, {"atmConnection AtmIf/" + N(atm - 1) + " Vcc/0." + N(32 + d)});
                w.Component({fa, dlci, "Ca"}, {"sdMode dynamic"});
                w.Component({fa, dlci, "Siwf"}, {});
                w.Component({fa, dlci, "Siwf", "Sd"}, {std::string("mode ") + (d % 2 ? "static" : "sameAsInterface")});
                if (d % 2) {
                    w.Component({fa, dlci, "Siwf", "SPvc"}, {"remoteAddress 47.0091.8100.0000.0018",
                                                             "remoteConnectionIdentifier dlci " + N(16 + d)});
                } else {
                    w.Component({fa, dlci, "Siwf", "NPvc"},
                                {"atmConnection AtmIf/" + N(atm - 1) + " Vcc/0." + N(32 + d)});
                }
                w.Component({fa, dlci, "Sp"}, {"rateEnforcement on", "committedInformationRate 128000"});
            }
            ++fr;
        }
        if (atm % 16 == 0) {
            const std::string v = "Vr/" + N(vr);
            w.Component({v}, {"routerName vr" + N(vr)});
            for (int p = 0; p < 4; ++p) {
                const std::string pp = "Pp/port" + N(p);
                const std::string address = "10." + N(vr % 250) + "." + N(p);
                w.Component({v, pp}, {"linkToMedia FrUni/" + N(fr > 0 ? fr - 1 : 0) + " Dlci/" + N(100 + p),
                                      "ipAddress " + address + ".1", "netMask 255.255.255.0",
                                      "broadcastAddress " + address + ".255", "areaId 0.0.0.0"});
                const std::string logicalIf = "LogicalIf/" + address + ".1";
                w.Component({v, pp, "IpPort"}, {});
                w.Component({v, pp, "IpPort", logicalIf},
                            {"netMask 255.255.255.0", "broadcastAddress " + address + ".255"});
                w.Component({v, pp, "IpPort", logicalIf, "OspfIf"}, {"areaId 0.0.0." + N(p)});
            }
            ++vr;
        }
    }
    w.Finish();
    return {atm, fr};
}

}  // namespace

int main(int argc, char** argv) {
    const bool modified = argc == 5 && std::string(argv[4]) == "--modified";
    if (argc != 4 && !modified) {
        std::fprintf(stderr, "usage: generate_node startprov|configure LINES OUTPUT [--modified]\n");
        return 2;
    }
    const bool startProv = std::string(argv[1]) == "startprov";
    const long target = std::atol(argv[2]);
    Modification modification;
    if (modified) {
        // A first pass only counts, to spread the changes over the node.
        Writer counter(nullptr, startProv, nullptr);
        Generate(counter, target);
        modification.removeEvery = std::max(1L, counter.Leaves() / 1000);
        modification.addEvery = std::max(1L, counter.Components() / 1000);
    }
    std::ofstream out(argv[3], std::ios::binary);
    Writer w(&out, startProv, modified ? &modification : nullptr);
    const Interfaces interfaces = Generate(w, target);
    out.flush();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("%s: %ld lines, %ld ATM interfaces, %ld frame relay interfaces\n", argv[3], w.Written(), interfaces.atm,
                interfaces.fr);
    if (modified)
        std::printf("  modified: %ld values changed, %ld components added, %ld removed\n", w.ChangedValues(), w.Added(),
                    w.Removed());
    return 0;
}
