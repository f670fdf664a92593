// The shipped noun, adjective and verb rules: every complete feature set of
// a regular word gives exactly one form.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "morphology_test_support.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {

using morphology_test::Features;
using morphology_test::PropertyText;
using morphology_test::ShippedFile;

class ShippedInflection : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    morphology_test::ConfigureRuleFiles(ShippedFile("data/urdu/NounRules.txt"), ShippedFile("data/urdu/VerbRules.txt"),
                                        ShippedFile("data/urdu/AdjRules.txt"));
    generator_ = new CUrduWordGenerator(nullptr);
    ClearConfiguration();
  }
  static void TearDownTestSuite() {
    delete generator_;
    generator_ = nullptr;
  }

  // The forms with their added properties: "form SUBJ.GEND=m ...".
  std::vector<std::string> Forms(const std::u16string& word, const std::u16string& category, const Features& features) {
    auto forms = generator_->GenerateWordForms(word, category, features.list());
    std::vector<std::string> texts;
    if (forms == nullptr) return {"null"};
    for (const auto& entry : *forms) {
      std::string text = ToUtf8(entry->word);
      const size_t added = entry->equations.size() - features.list().size();
      for (size_t i = 0; i < added; ++i) text += " " + PropertyText(entry->equations[i]);
      texts.push_back(text);
    }
    return texts;
  }

  static CUrduWordGenerator* generator_;
};

CUrduWordGenerator* ShippedInflection::generator_ = nullptr;

struct FormCase {
  std::u16string word;
  Features features;
  std::string form;  // the only form expected
};

// Oblique: the cases before نے، کو and postpositions.
const std::vector<std::u16string> kObliqueCases[] = {{u"erg"}, {u"dat"}, {u"acc"}, {u"obl"}};

TEST_F(ShippedInflection, NounsGiveOneFormPerNumberAndCase) {
  struct NounCase {
    std::u16string word, gender;
    std::string directSingular, obliqueSingular, directPlural, obliquePlural;
  };
  const NounCase cases[] = {
      {u"لڑکا", u"m", "لڑکا", "لڑکے", "لڑکے", "لڑکوں"},    {u"بچہ", u"m", "بچہ", "بچے", "بچے", "بچوں"},
      {u"گھر", u"m", "گھر", "گھر", "گھر", "گھروں"},        {u"آدمی", u"m", "آدمی", "آدمی", "آدمی", "آدمیوں"},
      {u"لڑکی", u"f", "لڑکی", "لڑکی", "لڑکیاں", "لڑکیوں"}, {u"کتاب", u"f", "کتاب", "کتاب", "کتابیں", "کتابوں"},
      {u"دعا", u"f", "دعا", "دعا", "دعائیں", "دعاؤں"},
  };
  for (const NounCase& c : cases) {
    auto forms = [&](const std::u16string& number, const std::vector<std::u16string>& grammaticalCase) {
      return Forms(c.word, u"n", Features{{u"GEND", {c.gender}}, {u"NUM", {number}}, {u"CASE", grammaticalCase}});
    };
    EXPECT_EQ(forms(u"sg", {u"nom"}), std::vector<std::string>{c.directSingular}) << ToUtf8(c.word);
    EXPECT_EQ(forms(u"pl", {u"nom"}), std::vector<std::string>{c.directPlural}) << ToUtf8(c.word);
    for (const auto& oblique : kObliqueCases) {
      EXPECT_EQ(forms(u"sg", oblique), std::vector<std::string>{c.obliqueSingular}) << ToUtf8(c.word);
      EXPECT_EQ(forms(u"pl", oblique), std::vector<std::string>{c.obliquePlural}) << ToUtf8(c.word);
    }
  }
}

TEST_F(ShippedInflection, AdjectivesAgreeInGenderNumberAndCase) {
  struct AdjectiveCase {
    std::u16string word;
    std::string feminine, masculinePluralOrOblique, masculineDirectSingular;
  };
  const AdjectiveCase cases[] = {
      {u"اچھا", "اچھی", "اچھے", "اچھا"},
      {u"نیا", "نئی", "نئے", "نیا"},
      {u"خوش", "خوش", "خوش", "خوش"},
      {u"تازہ", "تازہ", "تازہ", "تازہ"},
  };
  for (const AdjectiveCase& c : cases) {
    for (const std::u16string number : {u"sg", u"pl"}) {
      for (const std::u16string grammaticalCase : {u"nom", u"erg", u"dat", u"acc", u"obl"}) {
        const std::string label = ToUtf8(c.word) + " " + ToUtf8(number) + " " + ToUtf8(grammaticalCase);
        auto forms = [&](const std::u16string& gender) {
          return Forms(c.word, u"adj", Features{{u"GEND", {gender}}, {u"NUM", {number}}, {u"CASE", {grammaticalCase}}});
        };
        EXPECT_EQ(forms(u"f"), std::vector<std::string>{c.feminine}) << label;
        const bool direct = number == u"sg" && grammaticalCase == u"nom";
        EXPECT_EQ(forms(u"m"),
                  std::vector<std::string>{direct ? c.masculineDirectSingular : c.masculinePluralOrOblique})
            << label;
      }
    }
  }
}

TEST_F(ShippedInflection, VerbFormsCarryTheirAgreementAsAddedProperties) {
  struct VerbCase {
    std::u16string word;
    std::vector<std::u16string> form;  // VFORM, TENSE, ASPECT ("" when absent), SUBJ_CASE
    std::vector<std::string> forms;
  };
  const VerbCase cases[] = {
      {u"پڑھنا",
       {u"fin", u"pres", u"impf", u"nom"},
       {"پڑھتا SUBJ.GEND=m SUBJ.NUM=sg", "پڑھتی SUBJ.GEND=f", "پڑھتے SUBJ.GEND=m SUBJ.NUM=pl"}},
      {u"پڑھنا",
       {u"fin", u"past", u"perf", u"erg"},
       {"پڑھا HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=sg", "پڑھی HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=sg",
        "پڑھے HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=pl", "پڑھیں HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=pl",
        "پڑھا HAS_OBJ=+ OBJ.CASE=acc", "پڑھا HAS_OBJ=-"}},
      {u"کھانا",
       {u"fin", u"past", u"perf", u"erg"},
       {"کھایا HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=sg", "کھائی HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=sg",
        "کھائے HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=pl", "کھائیں HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=pl",
        "کھایا HAS_OBJ=+ OBJ.CASE=acc", "کھایا HAS_OBJ=-"}},
      {u"سونا",
       {u"fin", u"past", u"perf", u"nom"},
       {"سویا SUBJ.GEND=m SUBJ.NUM=sg", "سوئی SUBJ.GEND=f SUBJ.NUM=sg", "سوئے SUBJ.GEND=m SUBJ.NUM=pl",
        "سوئیں PASSIVE=- SUBJ.GEND=f SUBJ.NUM=pl", "سوئی PASSIVE=+ SUBJ.GEND=f SUBJ.NUM=pl"}},
      {u"آنا",
       {u"fin", u"past", u"perf", u"nom"},
       {"آیا SUBJ.GEND=m SUBJ.NUM=sg", "آئی SUBJ.GEND=f SUBJ.NUM=sg", "آئے SUBJ.GEND=m SUBJ.NUM=pl",
        "آئیں PASSIVE=- SUBJ.GEND=f SUBJ.NUM=pl", "آئی PASSIVE=+ SUBJ.GEND=f SUBJ.NUM=pl"}},
      {u"پینا",
       {u"fin", u"past", u"perf", u"erg"},
       {"پیا HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=sg", "پی HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=sg",
        "پیے HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=pl", "پئیں HAS_OBJ=+ OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=pl",
        "پیا HAS_OBJ=+ OBJ.CASE=acc", "پیا HAS_OBJ=-"}},
      {u"پڑھنا",
       {u"fin", u"fut", u"", u"nom"},
       {"پڑھوں گا SUBJ.PERS=1 SUBJ.NUM=sg SUBJ.GEND=m", "پڑھوں گی SUBJ.PERS=1 SUBJ.NUM=sg SUBJ.GEND=f",
        "پڑھے گا SUBJ.PERS=2,3 SUBJ.NUM=sg SUBJ.GEND=m", "پڑھے گی SUBJ.PERS=2,3 SUBJ.NUM=sg SUBJ.GEND=f",
        "پڑھو گے SUBJ.PERS=2 SUBJ.NUM=pl SUBJ.GEND=m", "پڑھو گی SUBJ.PERS=2 SUBJ.NUM=pl SUBJ.GEND=f",
        "پڑھیں گے SUBJ.PERS=1,3 SUBJ.NUM=pl SUBJ.GEND=m", "پڑھیں گی SUBJ.PERS=1,3 SUBJ.NUM=pl SUBJ.GEND=f"}},
      {u"آنا",
       {u"fin", u"fut", u"", u"nom"},
       {"آؤں گا SUBJ.PERS=1 SUBJ.NUM=sg SUBJ.GEND=m", "آؤں گی SUBJ.PERS=1 SUBJ.NUM=sg SUBJ.GEND=f",
        "آئے گا SUBJ.PERS=2,3 SUBJ.NUM=sg SUBJ.GEND=m", "آئے گی SUBJ.PERS=2,3 SUBJ.NUM=sg SUBJ.GEND=f",
        "آؤ گے SUBJ.PERS=2 SUBJ.NUM=pl SUBJ.GEND=m", "آؤ گی SUBJ.PERS=2 SUBJ.NUM=pl SUBJ.GEND=f",
        "آئیں گے SUBJ.PERS=1,3 SUBJ.NUM=pl SUBJ.GEND=m", "آئیں گی SUBJ.PERS=1,3 SUBJ.NUM=pl SUBJ.GEND=f"}},
      {u"پڑھنا", {u"stem", u"", u"", u""}, {"پڑھ"}},
      {u"پڑھنا", {u"inf", u"", u"", u""}, {"پڑھنا"}},
      // The oblique infinitive, before the postposition of a complement.
      {u"پڑھنا", {u"infobl", u"", u"", u""}, {"پڑھنے"}},
      {u"کھانا", {u"infobl", u"", u"", u""}, {"کھانے"}},
      // The infinitive of an obligation agrees with an unmarked object.
      {u"پڑھنا",
       {u"oblig", u"", u"", u""},
       {"پڑھنا OBJ.GEND=m OBJ.NUM=sg", "پڑھنا OBJ.CASE=acc", "پڑھنی OBJ.CASE=nom OBJ.GEND=f",
        "پڑھنے OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=pl"}},
  };
  const std::u16string attributes[] = {u"VFORM", u"TENSE", u"ASPECT", u"SUBJ_CASE"};
  for (const VerbCase& c : cases) {
    Features features;
    for (size_t i = 0; i < 4; ++i) {
      if (!c.form[i].empty()) features.Add(attributes[i], {c.form[i]});
    }
    // Only the forms of the verb's own features: those that add VFORM,
    // TENSE, ASPECT or SUBJ_CASE belong to other feature sets, and the
    // command form (MOOD) to clauses without tense.
    std::vector<std::string> own;
    for (const std::string& form : Forms(c.word, u"v", features)) {
      if (form.find("VFORM=") == std::string::npos && form.find("TENSE=") == std::string::npos &&
          form.find("ASPECT=") == std::string::npos && form.find("SUBJ_CASE=") == std::string::npos &&
          form.find("MOOD=") == std::string::npos) {
        own.push_back(form);
      }
    }
    EXPECT_EQ(own, c.forms) << ToUtf8(c.word) << " " << ToUtf8(c.form[1]) << " " << ToUtf8(c.form[2]);
  }
}

TEST_F(ShippedInflection, NoFiniteFormStandsWhereTheStemOrAnInfinitiveIsWanted) {
  // The finite forms name VFORM fin: a stem before سکنا or رہا, an
  // infinitive and the infinitive of an obligation get only their own forms,
  // whatever the clause's tense, aspect or mood.
  const std::u16string kinds[] = {u"stem", u"inf", u"infobl", u"oblig"};
  for (const std::u16string infinitive : {u"پڑھنا", u"آنا", u"پینا"}) {
    for (const std::u16string& kind : kinds) {
      for (const std::string& form : Forms(infinitive, u"v", Features{{u"VFORM", {kind}}})) {
        EXPECT_EQ(form.find("VFORM="), std::string::npos) << ToUtf8(infinitive) << " " << ToUtf8(kind) << ": " << form;
        EXPECT_EQ(form.find("MOOD="), std::string::npos) << ToUtf8(infinitive) << " " << ToUtf8(kind) << ": " << form;
        EXPECT_EQ(form.find("TENSE="), std::string::npos) << ToUtf8(infinitive) << " " << ToUtf8(kind) << ": " << form;
      }
    }
  }
}

TEST_F(ShippedInflection, ATransitivePerfectiveWithoutAnObjectStandsInTheMasculineSingular) {
  // HAS_OBJ, given by the mapping, keeps the forms that agree with an object
  // away from a clause without one, and the other way round.
  const std::tuple<std::u16string, std::u16string, std::vector<std::string>> cases[] = {
      {u"پکانا", u"-", {"پکایا"}},
      {u"پڑھنا", u"-", {"پڑھا"}},
      {u"پڑھنا",
       u"+",
       {"پڑھا OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=sg", "پڑھی OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=sg",
        "پڑھے OBJ.CASE=nom OBJ.GEND=m OBJ.NUM=pl", "پڑھیں OBJ.CASE=nom OBJ.GEND=f OBJ.NUM=pl", "پڑھا OBJ.CASE=acc"}},
  };
  for (const auto& [infinitive, hasObject, expected] : cases) {
    const Features features{{u"VFORM", {u"fin"}},
                            {u"TENSE", {u"past"}},
                            {u"ASPECT", {u"perf"}},
                            {u"SUBJ_CASE", {u"erg"}},
                            {u"HAS_OBJ", {hasObject}}};
    // The command form belongs to clauses without tense.
    std::vector<std::string> perfective;
    for (const std::string& form : Forms(infinitive, u"v", features)) {
      if (form.find("MOOD=") == std::string::npos) perfective.push_back(form);
    }
    EXPECT_EQ(perfective, expected) << ToUtf8(infinitive) << " " << ToUtf8(hasObject);
  }
}

TEST_F(ShippedInflection, TheCommandFormIsTheStemWithYeNoon) {
  // The polite command and "let's": one form, ئیں after a stem in ا or و.
  const std::pair<std::u16string, std::string> cases[] = {
      {u"پڑھنا", "پڑھیں"}, {u"کھانا", "کھائیں"}, {u"سونا", "سوئیں"}, {u"بیٹھنا", "بیٹھیں"}, {u"آنا", "آئیں"}};
  for (const auto& [infinitive, command] : cases) {
    std::vector<std::string> withMood;
    for (const std::string& form : Forms(infinitive, u"v", Features{{u"VFORM", {u"fin"}}})) {
      if (form.find("MOOD=imp") != std::string::npos) withMood.push_back(form);
    }
    EXPECT_EQ(withMood, std::vector<std::string>{command + " MOOD=imp,hort"}) << ToUtf8(infinitive);
  }
}

TEST_F(ShippedInflection, TheSubjunctiveIsTheFutureWithoutGa) {
  // After کہ of a wish: one form per person and number, agreeing with the
  // subject in nothing else; ئ or ؤ after a stem in ا or و.
  const std::pair<std::u16string, std::vector<std::string>> cases[] = {
      {u"پڑھنا", {"پڑھوں SUBJ.PERS=1 SUBJ.NUM=sg", "پڑھے SUBJ.PERS=2,3 SUBJ.NUM=sg", "پڑھو SUBJ.PERS=2 SUBJ.NUM=pl",
                 "پڑھیں SUBJ.PERS=1,3 SUBJ.NUM=pl"}},
      {u"آنا", {"آؤں SUBJ.PERS=1 SUBJ.NUM=sg", "آئے SUBJ.PERS=2,3 SUBJ.NUM=sg", "آؤ SUBJ.PERS=2 SUBJ.NUM=pl",
               "آئیں SUBJ.PERS=1,3 SUBJ.NUM=pl"}},
      {u"بیٹھنا", {"بیٹھوں SUBJ.PERS=1 SUBJ.NUM=sg", "بیٹھے SUBJ.PERS=2,3 SUBJ.NUM=sg", "بیٹھو SUBJ.PERS=2 SUBJ.NUM=pl",
                  "بیٹھیں SUBJ.PERS=1,3 SUBJ.NUM=pl"}},
  };
  for (const auto& [infinitive, expected] : cases) {
    const Features features{{u"VFORM", {u"fin"}}, {u"MOOD", {u"subj"}}, {u"SUBJ_CASE", {u"nom"}}};
    std::vector<std::string> forms;
    for (const std::string& form : Forms(infinitive, u"v", features)) {
      // Forms that add a tense or an aspect belong to other clauses.
      if (form.find("TENSE=") == std::string::npos && form.find("ASPECT=") == std::string::npos) forms.push_back(form);
    }
    EXPECT_EQ(forms, expected) << ToUtf8(infinitive);
  }
}

}  // namespace
