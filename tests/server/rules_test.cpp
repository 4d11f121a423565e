// The server's rules on their own: players' names, tickets, what ranks, and
// the options. (Everything else is tested end to end, over HTTP.)
#include <gtest/gtest.h>

#include <map>

#include "server/player_name.h"
#include "server/rank_rules.h"
#include "server/server_options.h"
#include "server/ticket.h"

namespace kolvane::server {
namespace {

TEST(PlayerNames, LettersOfAnyScriptDigitsAndFewMarksAreOneFoldedName) {
    std::string problem;
    const std::map<std::string, std::string> accepted{
        {"Ann", "ann"},
        {"ANN", "ann"},
        {"\xEF\xBC\xA1nn", "ann"},        // a full-width A
        {"Jose\xCC\x81", "jos\xC3\xA9"},  // é decomposed: kept composed
        {"\xD0\x9F\xD0\xB5\xD1\x82\xD1\x8F", "\xD0\xBF\xD0\xB5\xD1\x82\xD1\x8F"},  // Петя
        {"\xE5\xB1\xB1\xE7\x94\xB0 2", "\xE5\xB1\xB1\xE7\x94\xB0 2"},              // 山田 2
        {"a.b_c-d", "a.b_c-d"},
        {"Stra\xC3\x9F"
         "e",
         "strasse"},
        {std::string(20, 'z'), std::string(20, 'z')},
    };
    for (const auto& [name, key] : accepted) {
        const auto read = readPlayerName(name, problem);
        ASSERT_TRUE(read) << name << ": " << problem;
        EXPECT_EQ(read->key, key) << name;
    }
    const std::string refused[] = {
        "",
        std::string(21, 'z'),
        " Ann",
        "Ann ",
        "A  nn",
        "Ann\t",
        "Ann\x7f",
        "A\xE2\x80\x8B"
        "nn",  // a zero-width space
        "A\xE2\x80\xAE"
        "nn",            // a right-to-left override
        "\xE3\x85\xA4",  // the Hangul filler, a letter that shows nothing
        "\xCC\x81"
        "Ann",  // a mark with no letter
        "Ann!",
        "<b>",
        "\xC3\x28",  // not UTF-8
    };
    for (const std::string& name : refused) {
        EXPECT_FALSE(readPlayerName(name, problem)) << name;
        EXPECT_FALSE(problem.empty());
    }
}

TEST(Tickets, OnlyTheKeyThatSignedOneReadsIt) {
    const std::optional<Ticket> ticket = newTicket(1800000000123);
    ASSERT_TRUE(ticket);
    EXPECT_GE(ticket->clock, kTicketClockLow);
    EXPECT_LT(ticket->clock, kTicketClockHigh);
    const std::string token = ticketToken(*ticket, "key one");
    EXPECT_LE(token.size(), 200u);
    EXPECT_EQ(token.find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-"),
              std::string::npos);
    std::string problem;
    const std::optional<Ticket> read = readTicket(token, "key one", problem);
    ASSERT_TRUE(read) << problem;
    EXPECT_EQ(read->clock, ticket->clock);
    EXPECT_EQ(read->issuedAtMs, 1800000000123);
    EXPECT_EQ(read->nonce, ticket->nonce);
    EXPECT_NE(newTicket(0)->nonce, ticket->nonce);

    EXPECT_FALSE(readTicket(token, "key two", problem));
    // Dated back by a second, moved to another clock, cut short, padded.
    Ticket earlier = *ticket;
    earlier.issuedAtMs -= 1000;
    std::string moved = ticketToken(earlier, "key one");
    moved = moved.substr(0, moved.rfind('.')) + token.substr(token.rfind('.'));
    EXPECT_FALSE(readTicket(moved, "key one", problem));
    EXPECT_FALSE(readTicket(token.substr(0, token.size() - 1), "key one", problem));
    EXPECT_FALSE(readTicket(token + "0", "key one", problem));
    EXPECT_FALSE(readTicket("", "key one", problem));
    EXPECT_FALSE(readTicket("1.2.3.4.5", "key one", problem));
}

Script scriptOf(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(parseScript(text, "test", script, error)) << error;
    return script;
}

TEST(RankRules, WhatAPersonCanPress) {
    EXPECT_FALSE(
        implausibleInput(scriptOf("press SPACE\npress SPACE\ntick 1\n"
                                  "down LEFT\nrepeat LEFT\ntick 1\n")));
    const std::string thirteenASecond = [] {
        std::string text;
        for (int i = 0; i < 60; ++i) text += "press SPACE\ntick 5\n";
        return text;
    }();
    EXPECT_FALSE(implausibleInput(scriptOf(thirteenASecond)));

    const auto said = [](const std::string& text) {
        return implausibleInput(scriptOf(text)).value_or("");
    };
    EXPECT_EQ(said("tick 5\npress SPACE\npress SPACE\npress SPACE\n"),
              "SPACE pressed 3 times within tick 5");
    EXPECT_EQ(said("down UP\nrepeat UP\nrepeat UP\n"), "UP repeated 2 times within tick 0");
    std::string bot;
    for (int i = 0; i < 20; ++i) bot += "press SPACE\ntick 3\n";
    EXPECT_EQ(said(bot), "SPACE pressed 17 times within a second (ticks 0 to 48)");
}

TEST(RankRules, ATicketedStandardGameInRealTimeRanks) {
    const Script script =
        scriptOf("clock 1500000000\nseed 1\nsize 740x580\ntick 10\npress S\ntick 990\n");
    RankFacts facts{&script, 1000, 1000000, 1000000 + 15000};
    EXPECT_EQ(whyUnranked(facts), std::nullopt);
    // Its 15 s of play may come 2 s (and 0.5 %) faster than the server saw.
    facts.submittedAtMs = 1000000 + 13000;
    EXPECT_EQ(whyUnranked(facts), std::nullopt);
    facts.submittedAtMs = 1000000 + 12900;
    EXPECT_EQ(whyUnranked(facts).value_or(""),
              "its 15 s of play are more than the 12 s between its ticket and its submission");
    facts.submittedAtMs = 1000000 + kTicketLifetimeMs + 1;
    EXPECT_EQ(whyUnranked(facts).value_or(""), "submitted more than a day after its ticket");
    facts.submittedAtMs = 1000000 + 15000;
    facts.ticketIssuedAtMs.reset();
    EXPECT_EQ(whyUnranked(facts).value_or(""), "played without a ticket");

    const Script wide = scriptOf("clock 1500000000\nseed 1\nsize 64x48\ntick 1\n");
    EXPECT_EQ(whyUnranked(RankFacts{&wide, 1, 0, 15000}).value_or(""),
              "played on a 64x48 field, not the windows' 740x580");
    const Script seeded = scriptOf("clock 1500000000\nseed 7\nsize 740x580\ntick 1\n");
    EXPECT_EQ(whyUnranked(RankFacts{&seeded, 1, 0, 15000}).value_or(""),
              "started from seed 7, not the windows' seed 1");
}

TEST(ServerOptions, CommandLineOverEnvironment) {
    std::map<std::string, std::string> variables{{"KOLVANE_LISTEN", "[::1]:9000"},
                                                 {"KOLVANE_DB", "postgresql://x/y"},
                                                 {"KOLVANE_VERIFY_ONLY", "true"}};
    const auto env = [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
    const char* argv[] = {"kolvane-server", "--db", "/tmp/x.sqlite", "--workers", "3",
                          "--cors",         "*"};
    ServerOptions options;
    std::string error;
    ASSERT_TRUE(parseServerOptions(7, argv, env, options, error)) << error;
    EXPECT_EQ(options.host, "::1");
    EXPECT_EQ(options.port, 9000);
    EXPECT_EQ(options.db, "/tmp/x.sqlite");
    EXPECT_EQ(options.workers, 3);
    EXPECT_TRUE(options.verifyOnly);
    EXPECT_EQ(options.cors, "*");

    const auto refused = [&](std::vector<const char*> args) {
        args.insert(args.begin(), "kolvane-server");
        ServerOptions o;
        return !parseServerOptions(
            static_cast<int>(args.size()), args.data(),
            [](const char*) -> const char* { return nullptr; }, o, error);
    };
    EXPECT_TRUE(refused({"--listen", "8080"}));
    EXPECT_TRUE(refused({"--listen", "::1:8080"}));
    EXPECT_TRUE(refused({"--listen", "127.0.0.1:65536"}));
    EXPECT_TRUE(refused({"--workers", "-1"}));
    EXPECT_TRUE(refused({"--db"}));
    EXPECT_TRUE(refused({"--bogus"}));
    variables = {{"KOLVANE_WORKERS", "many"}};
    ServerOptions o;
    EXPECT_FALSE(parseServerOptions(1, argv, env, o, error));
    EXPECT_EQ(error, "KOLVANE_WORKERS: --workers is a whole number from 0 to 256, not \"many\"");
}

}  // namespace
}  // namespace kolvane::server
