// CurlHttpTransport: HTTP over libcurl's easy interface: a fresh handle per request, no signals (the
// requests run on worker threads), http and https only, the body collected up to its bound.
#include "CurlHttpTransport.h"

#include <cstdio>

#include "CurlLibrary.h"

namespace {

struct Transfer {
  std::string body;
  size_t maxBodyBytes = 0;
  bool tooLarge = false;
  const std::function<bool()>* cancelled = nullptr;
  bool wasCancelled = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  Transfer* transfer = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  if (bytes > transfer->maxBodyBytes - transfer->body.size()) {
    // Returning less than was offered makes libcurl abort the transfer.
    transfer->tooLarge = true;
    return 0;
  }
  transfer->body.append(data, bytes);
  return bytes;
}

int checkCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  Transfer* transfer = static_cast<Transfer*>(user);
  if (*transfer->cancelled && (*transfer->cancelled)()) {
    transfer->wasCancelled = true;
    return 1;  // non-zero aborts the transfer
  }
  return 0;
}

// Failures of the TLS handshake that mean the server is not who it claims to be, or that its
// certificate cannot be checked: a configuration matter for the player or the operator, not a
// lost connection.
bool isCertificateProblem(CURLcode result) {
  return result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_CACERT_BADFILE ||
         result == CURLE_SSL_ISSUER_ERROR || result == CURLE_SSL_INVALIDCERTSTATUS ||
         result == CURLE_SSL_PINNEDPUBKEYNOTMATCH;
}

}  // namespace

CurlHttpTransport::CurlHttpTransport(HttpLimits limits, std::string caFile)
    : bounds(limits), trustedAuthorities(std::move(caFile)) {}

HttpTransportFactory CurlHttpTransport::factory(const std::string& caFile) {
  return [caFile] { return std::make_unique<CurlHttpTransport>(HttpLimits(), caFile); };
}

void CurlHttpTransport::setCancelCheck(std::function<bool()> cancelled) { cancelCheck = std::move(cancelled); }

HttpResponse CurlHttpTransport::get(const std::string& url) const { return perform(url, nullptr, {}); }

HttpResponse CurlHttpTransport::post(const std::string& url, const std::string& body,
                              const std::vector<Header>& headers) const {
  return perform(url, &body, headers);
}

HttpResponse CurlHttpTransport::perform(const std::string& url, const std::string* postBody,
                                 const std::vector<Header>& headers) const {
  HttpResponse response;
  const CurlLibrary* library = CurlLibrary::get(response.error);
  if (library == nullptr) return response;
  const CurlLibrary& lib = *library;
  CURL* curl = lib.easyInit();
  if (curl == nullptr) {
    response.error = "cannot create a transfer";
    return response;
  }

  Transfer transfer;
  transfer.maxBodyBytes = bounds.maxBodyBytes;
  transfer.cancelled = &cancelCheck;
  char errorText[CURL_ERROR_SIZE] = {0};

  lib.easySetopt(curl, CURLOPT_URL, url.c_str());
  lib.easySetopt(curl, CURLOPT_ERRORBUFFER, errorText);
  // Signals would hit whichever thread runs; time-outs work without them.
  lib.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
  // The address comes from the environment: never let it read files or speak other protocols.
  lib.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  lib.easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  lib.easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  lib.easySetopt(curl, CURLOPT_MAXREDIRS, 3L);
  lib.easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, bounds.connectTimeoutMs);
  lib.easySetopt(curl, CURLOPT_TIMEOUT_MS, bounds.totalTimeoutMs);
  lib.easySetopt(curl, CURLOPT_USERAGENT, "Pellix");
  // The certificate and the host name are checked (libcurl's defaults, stated so that nothing
  // can turn them off), against the player's CA file when one is named.
  lib.easySetopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  lib.easySetopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!trustedAuthorities.empty()) lib.easySetopt(curl, CURLOPT_CAINFO, trustedAuthorities.c_str());
  // A body announced as too long is refused before any of it is read.
  lib.easySetopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(bounds.maxBodyBytes));
  lib.easySetopt(curl, CURLOPT_WRITEFUNCTION, &collectBody);
  lib.easySetopt(curl, CURLOPT_WRITEDATA, &transfer);
  lib.easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
  lib.easySetopt(curl, CURLOPT_XFERINFOFUNCTION, &checkCancel);
  lib.easySetopt(curl, CURLOPT_XFERINFODATA, &transfer);

  curl_slist* headerList = nullptr;
  if (postBody != nullptr) {
    lib.easySetopt(curl, CURLOPT_POST, 1L);
    lib.easySetopt(curl, CURLOPT_POSTFIELDS, postBody->data());
    lib.easySetopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()));
    for (const Header& header : headers) {
      std::string line = header.first + ": " + header.second;
      headerList = lib.slistAppend(headerList, line.c_str());
    }
    // No "Expect: 100-continue" round trip: the bodies are small.
    headerList = lib.slistAppend(headerList, "Expect:");
    lib.easySetopt(curl, CURLOPT_HTTPHEADER, headerList);
  }

  CURLcode result = lib.easyPerform(curl);
  if (result == CURLE_OK) {
    response.completed = true;
    lib.easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    response.body = std::move(transfer.body);
  } else if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
    response.error = "reply body too large";
  } else if (transfer.wasCancelled) {
    response.error = "cancelled";
  } else if (isCertificateProblem(result)) {
    const std::string detail = errorText[0] != '\0' ? errorText : lib.easyStrerror(result);
    response.error = std::string(CERTIFICATE_PROBLEM) + " (" + detail + ")" +
                     (trustedAuthorities.empty() ? std::string(" against the system's trust store")
                                                 : " against the CA file " + trustedAuthorities);
    // The player sees only that the server cannot be reached; say why once per request.
    std::fprintf(stderr, "pellix: high-score server %s: %s\n", url.c_str(), response.error.c_str());
  } else {
    response.error = errorText[0] != '\0' ? errorText : lib.easyStrerror(result);
  }

  lib.slistFreeAll(headerList);
  lib.easyCleanup(curl);
  return response;
}
