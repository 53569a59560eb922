// An HTTP request component kept in memory: it records every member call by name with its
// arguments and answers from fields the test sets, recording call outcomes as the real
// component does.
#pragma once

#include <string>
#include <vector>

#include "support/call_error.h"
#include "support/http/http_component.h"

namespace vardelle::testing {

class FakeHttpComponent : public HttpComponent {
 public:
  // One recorded member call: its name and its arguments as texts.
  struct Call {
    std::string member;
    std::vector<std::string> arguments;
  };

  void Open(const Text& method, const Text& url, bool async) override {
    Record("Open", {method, url, async ? "true" : "false"});
  }
  void SetRequestHeader(const Text& name, const Text& value) override {
    Record("SetRequestHeader", {name, value});
  }
  void Send() override { Record("Send", {}); }
  void Send(const Text& body) override { Record("Send(text)", {body}); }
  void Send(const Bytes& body) override { Record("Send(bytes)", {Text(body.begin(), body.end())}); }
  bool WaitForResponse(int timeoutSeconds) override {
    Record("WaitForResponse", {std::to_string(timeoutSeconds)});
    return answered;
  }
  void Abort() override { Record("Abort", {}); }
  int Status() override { return Answer("Status", status); }
  Text StatusText() override { return Answer("StatusText", statusText); }
  Text ResponseText() override { return Answer("ResponseText", responseText); }
  Bytes ResponseBody() override { return Answer("ResponseBody", responseBody); }
  AutomationValue ResponseStream() override {
    return Answer<AutomationValue>("ResponseStream", responseBody);
  }
  Text GetResponseHeader(const Text& name) override {
    Record("GetResponseHeader", {name});
    return Succeeded() ? responseHeader : Text();
  }
  Text GetAllResponseHeaders() override { return Answer("GetAllResponseHeaders", allHeaders); }
  AutomationValue GetOption(int index) override {
    Record("GetOption", {std::to_string(index)});
    return Succeeded() ? option : AutomationValue();
  }
  void SetOption(int index, const AutomationValue& value) override {
    Record("SetOption", {std::to_string(index)});
    option = value;
  }
  void SetProxy(int setting, const Text& server, const Text& bypass) override {
    Record("SetProxy", {std::to_string(setting), server, bypass});
  }
  void SetCredentials(const Text& user, const Text& password, int target) override {
    Record("SetCredentials", {user, password, std::to_string(target)});
  }
  void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    Record("SetTimeouts", {std::to_string(resolveMs), std::to_string(connectMs),
                           std::to_string(sendMs), std::to_string(receiveMs)});
  }
  void SetClientCertificate(const Text& name) override { Record("SetClientCertificate", {name}); }
  void SetMaxResponseBodySize(std::size_t bytes) override {
    Record("SetMaxResponseBodySize", {std::to_string(bytes)});
  }
  void AcceptCompressedAnswers() override { Record("AcceptCompressedAnswers", {}); }
  void SetAutoLogonPolicy(int policy) override {
    Record("SetAutoLogonPolicy", {std::to_string(policy)});
  }

  // The calls whose member is the given name, in order.
  std::vector<Call> CallsTo(const std::string& member) const {
    std::vector<Call> found;
    for (const Call& call : calls) {
      if (call.member == member) found.push_back(call);
    }
    return found;
  }

  std::vector<Call> calls;
  // When set, every member fails with this code and answers an empty value.
  CallError failure = CallError::kNone;
  bool answered = true;
  int status = 200;
  Text statusText = "OK";
  Text responseText;
  Bytes responseBody;
  Text responseHeader;
  Text allHeaders;
  AutomationValue option;

 private:
  void Record(const std::string& member, std::vector<std::string> arguments) {
    calls.push_back({member, std::move(arguments)});
    SetCallError(failure);
  }
  bool Succeeded() const { return failure == CallError::kNone; }
  template <typename T>
  T Answer(const std::string& member, const T& value) {
    Record(member, {});
    return Succeeded() ? value : T();
  }
};

}  // namespace vardelle::testing
