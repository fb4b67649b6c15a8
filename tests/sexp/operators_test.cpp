// The operator table: look-ups, the repeat rule of argument kinds, and the
// generated rows against the operator facts they were made from.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "sexp/operators.h"
#include "tests/sexp/helpers.h"

namespace sexp {
namespace {

TEST(OperatorTableTest, FindsWordsCaseInsensitivelyAndResolvesOldNames) {
  const std::pair<std::u16string_view, std::string_view> cases[] = {
      {u"when", "when"},
      {u"WHEN", "when"},
      {u"Modify-Variable", "modify-variable"},
      {u"+", "+"},
      {u">=", ">="},
      {u"set-ship-position", "set-object-position"},  // old names
      {u"Set-Ship-Facing", "set-object-facing"},
      {u"perform-actions", "perform-actions-bool-first"},
      {u"don't-collide-invisible", "don't-collide-invisible"},
  };
  for (const auto& [word, name] : cases) {
    const Operator* op = FindOperator(word);
    ASSERT_NE(op, nullptr) << testing::U8(word);
    EXPECT_EQ(op->name, name);
    EXPECT_EQ(FindOperator(testing::U8(word)), op);
  }
  for (const std::u16string_view word : {u"", u"my-mod-operator", u"when ", u"wh\u00e9n", u"\"when\"", u"@x[0]"}) {
    EXPECT_EQ(FindOperator(word), nullptr) << testing::U8(word);
  }
  EXPECT_EQ(FindOperator(std::u16string(100, u'a')), nullptr);
}

TEST(OperatorTableTest, ArgumentKindsRepeatAsListed) {
  struct Case {
    std::string_view op;
    int position;
    std::string_view kind;
  };
  const Case cases[] = {
      {"+", 1, "number"},
      {"+", 7, "number"},  // the one kind repeats
      {"send-message-list", 4, "number>=0"},
      {"send-message-list", 5, "who-from"},  // groups of four
      {"send-message-list", 11, "message"},
      {"ship-subsys-guardian-threshold", 3, "subsys-or-generic"},
      {"ship-subsys-guardian-threshold", 9, "subsys-or-generic"},
      {"set-object-position", 4, "number"},
      {"set-object-position", 5, ""},  // beyond the maximum
      {"set-object-position", 0, ""},
      {"reset-orders", 1, ""},  // takes no arguments
      {"when-argument", 1, "argument-operator"},
      {"when-argument", 4, "action"},
  };
  for (const Case& c : cases) {
    const Operator* op = FindOperator(c.op);
    ASSERT_NE(op, nullptr) << c.op;
    EXPECT_EQ(op->ArgKind(c.position), c.kind) << c.op << " " << c.position;
  }
  const Operator* list = FindOperator("send-message-list");
  EXPECT_EQ(list->repeat_last, 4);
  EXPECT_FALSE(list->TakesArgCount(3));
  EXPECT_TRUE(list->TakesArgCount(400));
  const Operator* position = FindOperator("set-object-position");
  EXPECT_TRUE(position->TakesArgCount(4));
  EXPECT_FALSE(position->TakesArgCount(5));
  EXPECT_EQ(position->return_kind, ReturnKind::kNothing);
  EXPECT_EQ(ReturnKindName(FindOperator("any-of")->return_kind), "argument-list");
}

// A tab-separated file with a header line, as rows of named fields.
std::vector<std::map<std::string, std::string>> ReadTsv(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> header;
  std::vector<std::map<std::string, std::string>> rows;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream fields_in(line);
    for (std::string field; std::getline(fields_in, field, '\t');) fields.push_back(field);
    if (fields.size() < header.size()) fields.resize(header.size());
    if (header.empty()) {
      header = fields;
      continue;
    }
    std::map<std::string, std::string>& row = rows.emplace_back();
    for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = fields[i];
  }
  return rows;
}

// The kinds as operators.tsv writes them: "a; b; ...(repeat last 1)".
std::string KindsText(const Operator& op) {
  std::string text;
  for (const std::string_view kind : op.ArgKinds()) text += (text.empty() ? "" : "; ") + std::string(kind);
  if (op.repeat_last > 0) text += "; ...(repeat last " + std::to_string(op.repeat_last) + ")";
  return text;
}

TEST(OperatorTableTest, RowsAreThoseOfTheOperatorFacts) {
  const std::filesystem::path facts = testing::SharedFolder("sexp-operators");
  if (facts.empty()) GTEST_SKIP() << "the operator facts (../shared/sexp-operators) are not there";
  const auto rows = ReadTsv(facts / "operators.tsv");
  ASSERT_EQ(rows.size(), AllOperators().size());
  for (const auto& row : rows) {
    const std::string& name = row.at("name");
    const Operator* op = FindOperator(name);
    ASSERT_NE(op, nullptr) << name;
    EXPECT_EQ(op->name, name);
    EXPECT_EQ(std::to_string(op->min_args), row.at("min_args")) << name;
    EXPECT_EQ(op->max_args == Operator::kUnlimited ? "unlimited" : std::to_string(op->max_args), row.at("max_args"))
        << name;
    EXPECT_EQ(op->category, row.at("category")) << name;
    EXPECT_EQ(op->subcategory, row.at("subcategory")) << name;
    EXPECT_EQ(ReturnKindName(op->return_kind), row.at("return_kind")) << name;
    EXPECT_EQ(op->in_retail ? "yes" : "no", row.at("in_fs2_retail_source")) << name;
    EXPECT_EQ(KindsText(*op), row.at("arg_types")) << name;
  }
  const auto aliases = ReadTsv(facts / "aliases.tsv");
  ASSERT_EQ(aliases.size(), OperatorAliases().size());
  for (const auto& alias : aliases) {
    const Operator* op = FindOperator(alias.at("old_name"));
    ASSERT_NE(op, nullptr) << alias.at("old_name");
    EXPECT_EQ(op->name, alias.at("canonical_name"));
  }
}

}  // namespace
}  // namespace sexp
