<%--
  Copyright 2024 The Catalog Authors.
  Licensed under the Apache License, Version 2.0; see LICENSE.
--%>
<%@ page contentType="text/html; charset=UTF-8" pageEncoding='UTF-8' %>
<%@ page import="java.util.List, shop.Item" session="true" %>
<%@ taglib prefix="c" uri="http://java.sun.com/jsp/jstl/core" %>
<%@ include file="/WEB-INF/header.jspf" %>
<%@page isELIgnored="false"%>
<%! private int visits = 0; %>
<% visits++; // counts %> visits <%= visits %>
<% String s = "50%>"; %> after the string
<% /* a comment cut short %> after the comment
<%
    var items = (List<Item>) request.getAttribute("items");
    record Line(String name, int count) { }
%>
<html>
<body class="<%= theme %>" data-x='<%= 1 + 2 %>' onload=<%= init %> id=main>
<p title="<% if (open) { %>open<% } %>">Status</p>
<p>Hello, ${user.name}! You have #{cart.size} items and ${empty list ? "none" : list[0]}.</p>
<a href="${ctx}/cart?id=${item.id}" title='${item.title}'>Cart</a>
<input value=${param.q} size=20>
<jsp:include page="footer.jsp">
  <jsp:param name="year" value="<%= year %>"/>
</jsp:include>
<c:if test="${not empty items}">
  <c:forEach var="item" items="${items}">${item.name}</c:forEach>
</c:if>
<div <%-- a comment inside a tag --%> class="box">
<span title="a <%-- hidden --%> title">x</span>
<%-- a comment <% that hides %> a scriptlet --%>
<%-- one-line comment --%> text <b>bold</b>
</body>
</html>
