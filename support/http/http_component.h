// The HTTP request component that HttpRequest and the cookie jar drive by member, standing
// in for the platform's scriptable request object.
//
// Every member records the calling thread's call outcome: ClearCallError() on success,
// SetCallError(code) on failure, and a failed member answers an empty value ("", empty
// bytes, 0, false, monostate). Members called in an order the component does not accept
// (reading the answer before a send, sending before an open) fail that way; nothing throws.
#pragma once

#include <cstddef>
#include <memory>

#include "support/http/automation_value.h"
#include "support/text/text.h"

namespace vardelle {

class HttpComponent {
 public:
  virtual ~HttpComponent() = default;

  // Prepares a request; a synchronous one is carried out by Send, which returns once the
  // answer is complete; an asynchronous one makes Send return at once.
  virtual void Open(const Text& method, const Text& url, bool async) = 0;
  virtual void SetRequestHeader(const Text& name, const Text& value) = 0;
  virtual void Send() = 0;
  virtual void Send(const Text& body) = 0;
  virtual void Send(const Bytes& body) = 0;
  // True when the answer arrived within the time-out, in whole seconds as the platform's
  // component counts it (-1: no limit).
  virtual bool WaitForResponse(int timeoutSeconds) = 0;
  virtual void Abort() = 0;

  virtual int Status() = 0;
  virtual Text StatusText() = 0;
  // The body decoded by the charset of Content-Type (without one: UTF-8 when valid, else
  // code page 936), as GBK text; characters GBK lacks become "?".
  virtual Text ResponseText() = 0;
  virtual Bytes ResponseBody() = 0;
  // The body as a stream stands in: its bytes.
  virtual AutomationValue ResponseStream() = 0;
  virtual Text GetResponseHeader(const Text& name) = 0;
  // "Name: value" lines joined by CR LF.
  virtual Text GetAllResponseHeaders() = 0;

  virtual AutomationValue GetOption(int index) = 0;
  virtual void SetOption(int index, const AutomationValue& value) = 0;
  virtual void SetProxy(int setting, const Text& server, const Text& bypass) = 0;
  virtual void SetCredentials(const Text& user, const Text& password, int target) = 0;
  // Milliseconds; 0 or below: no limit. Defaults: resolve none, connect 60000, send
  // 30000, receive 30000.
  virtual void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
  virtual void SetClientCertificate(const Text& name) = 0;
  virtual void SetAutoLogonPolicy(int policy) = 0;
  // An answer whose body is longer fails the request; 64 MiB unless set. A limit of our
  // own: a caller expecting a small document keeps a hostile server from filling memory.
  virtual void SetMaxResponseBodySize(std::size_t bytes) = 0;
  // Offers the server the compressions the component can undo (gzip, brotli); the body is
  // handed out undone, and the size limit counts its undone bytes. Off unless set.
  virtual void AcceptCompressedAnswers() = 0;
};

// The system's component, chosen by the platform's composition root; nullptr when it cannot
// be created.
std::shared_ptr<HttpComponent> CreateHttpComponent();

}  // namespace vardelle
