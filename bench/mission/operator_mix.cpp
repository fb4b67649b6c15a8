#include "bench/mission/operator_mix.h"

#include <random>
#include <string_view>
#include <vector>

#include "sexp/operators.h"

namespace bench {
namespace {

struct OperatorCount {
  std::string_view name;
  int occurrences;
};

#include "bench/mission/operator_frequency.inc"

// The operators that return one kind, drawn by their frequency.
class Pool {
 public:
  void Add(const sexp::Operator* op, int weight) {
    ops_.push_back(op);
    weights_.push_back(weight);
  }
  const sexp::Operator* Draw(std::mt19937& rng) {
    if (ops_.empty()) return nullptr;
    if (!ready_) {
      dist_ = std::discrete_distribution<std::size_t>(weights_.begin(), weights_.end());
      ready_ = true;
    }
    return ops_[dist_(rng)];
  }

 private:
  std::vector<const sexp::Operator*> ops_;
  std::vector<int> weights_;
  std::discrete_distribution<std::size_t> dist_;
  bool ready_ = false;
};

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {
    for (const OperatorCount& count : kOperatorFrequency) {
      const sexp::Operator* op = sexp::FindOperator(count.name);
      if (op == nullptr) continue;
      pools_[static_cast<std::size_t>(op->return_kind)].Add(op, count.occurrences);
      const std::string_view first = op->ArgKind(1);
      if (op->return_kind == sexp::ReturnKind::kNothing && (first == "boolean" || first == "argument-operator")) {
        conditionals_.Add(op, count.occurrences);
      }
    }
  }

  std::string EventFormula() {
    const sexp::Operator* top = conditionals_.Draw(rng_);
    std::string text = "$Formula: ( " + std::string(top->name) + " \r\n";
    // Each argument of the conditional on a line of its own, as the editor
    // writes formulas.
    const int count = Count(*top);
    for (int k = 1; k <= count; ++k) text += "   " + Arg(*top, k, 1) + " \r\n";
    return text + ")";
  }

  std::string GoalFormula() { return "$Formula: " + Call(sexp::ReturnKind::kBoolean, 0); }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  static constexpr int kDeepest = 3;

  // How many arguments a call gets: mostly its minimum, as in real
  // missions, now and then one or two of the optional ones.
  int Count(const sexp::Operator& op) {
    const int extra = Pick(4) == 0 ? 1 + Pick(2) : 0;
    const int most = op.max_args == sexp::Operator::kUnlimited ? op.min_args + 2 : op.max_args;
    return std::min(most, std::max(op.min_args, 1) + extra);
  }

  std::string Call(sexp::ReturnKind kind, int depth) {
    const sexp::Operator* op = pools_[static_cast<std::size_t>(kind)].Draw(rng_);
    if (op == nullptr || depth >= kDeepest) {
      return kind == sexp::ReturnKind::kNumber ? std::to_string(Pick(1000)) : "( true )";
    }
    // Blocks among actions stay rare, as in real missions.
    if (op->ArgKind(1) == "boolean" && kind == sexp::ReturnKind::kNothing && Pick(4) != 0) return "( do-nothing )";
    std::string text = "( " + std::string(op->name);
    const int count = Count(*op);
    for (int k = 1; k <= count; ++k) text += " " + Arg(*op, k, depth + 1);
    return text + " )";
  }

  std::string Arg(const sexp::Operator& op, int position, int depth) {
    const std::string_view kind = op.ArgKind(position);
    if (op.name == "cond") return "( " + Call(sexp::ReturnKind::kBoolean, depth) + " " +
                                  Call(sexp::ReturnKind::kNothing, depth) + " )";
    if (kind == "boolean") return Call(sexp::ReturnKind::kBoolean, depth);
    if (kind == "action") return Call(sexp::ReturnKind::kNothing, depth);
    if (kind == "ai-goal") return Call(sexp::ReturnKind::kAiGoal, depth);
    if (kind == "argument-operator") return Call(sexp::ReturnKind::kArgumentList, depth);
    if (kind.starts_with("number") || kind == "variable-typed-value") {
      return Pick(3) == 0 ? Call(sexp::ReturnKind::kNumber, depth) : std::to_string(Pick(1000));
    }
    if (kind == "variable-name") return "@Count" + std::to_string(Pick(20)) + "[0]";
    if (kind.find("ship") != std::string_view::npos || kind.find("wing") != std::string_view::npos) {
      return Pick(8) == 0 ? "\"<argument>\"" : "\"Alpha " + std::to_string(Pick(400)) + "\"";
    }
    if (kind == "message") return "\"Message " + std::to_string(Pick(500)) + "\"";
    if (kind == "event-name") return "\"Event " + std::to_string(Pick(500)) + "\"";
    if (kind.find("subsys") != std::string_view::npos) return "\"engine\"";
    if (kind == "who-from") return "\"#Command\"";
    if (kind == "priority") return "\"High\"";
    return "\"Value " + std::to_string(Pick(50)) + "\"";
  }

  std::mt19937 rng_;
  Pool pools_[5];
  Pool conditionals_;
};

}  // namespace

std::string OperatorMixMission(std::size_t bytes, unsigned seed) {
  Generator g(seed);
  std::string text =
      "#Mission Info\r\n\r\n$Version: 0.10\r\n$Name: XSTR(\"Operator Mix\", -1)\r\n$Author: generate_mission\r\n"
      "\r\n#Events\t\t;! generated\r\n\r\n";
  text.reserve(bytes + (bytes >> 4));
  std::string goals = "#Goals\r\n\r\n";
  for (int i = 0; text.size() + goals.size() < bytes; ++i) {
    text += g.EventFormula() + "\r\n+Name: Event " + std::to_string(i) + "\r\n+Repeat Count: 1\r\n+Interval: 1\r\n\r\n";
    if (i % 10 == 0) {
      goals += std::string(i % 20 ? "$Type: Secondary" : "$Type: Primary") + "\r\n+Name: Goal " + std::to_string(i) +
               "\r\n$MessageNew: XSTR(\"Goal " + std::to_string(i) + "\", -1)\r\n" + g.GoalFormula() + "\r\n\r\n";
    }
  }
  return text + goals + "#End\r\n";
}

}  // namespace bench
